#ifndef ECU_CORE_CALIBRATION_CALIBRATION_REPLIES_H_
#define ECU_CORE_CALIBRATION_CALIBRATION_REPLIES_H_

#include <cstdint>

#include "core/calibration/calibration_image.h"
#include "core/calibration/catalogue.h"
#include "core/calibration/field_board.h"
#include "core/link/live_data.h"
#include "core/link/reply_table.h"

namespace ecu {

// Registers the decoding of every calibration reply: the table cells ("E",
// "e", "X", "x"), the phase table (127, 128), the blocks ("B", "C", 208,
// 212), the read and the write echo of every scalar, and the throttle
// captures (215, 216). Each reply lands in the image (and, for FS_RPM and
// MAP_TYPE, in the scaling of `live`) and is posted on `board` in its
// display format. All four records must outlive the table.
void AddCalibrationReplies(ReplyTable& replies, CalibrationImage& image,
                           LiveData& live, FieldBoard& board);

// Posts a scalar's raw count to the fields that show it, as its decoding
// does; for the fields that show one bit, that bit.
void PublishScalar(const ScalarItem& item, int32_t raw, const LiveData& live,
                   const FieldBoard& board);

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_CALIBRATION_REPLIES_H_
