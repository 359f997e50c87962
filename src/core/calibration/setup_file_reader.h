#ifndef ECU_CORE_CALIBRATION_SETUP_FILE_READER_H_
#define ECU_CORE_CALIBRATION_SETUP_FILE_READER_H_

#include <string>

#include "core/calibration/setup_file_run.h"
#include "core/link/ecu_link.h"

namespace ecu {

// Applies a setup file to the ECU line by line, in file order: each line is
// written at once with its item's write code, followed by a 5 ms pause. The
// file is never held as a calibration; an interrupted load leaves the ECU
// with the lines applied so far.
class SetupFileReader {
 public:
  explicit SetupFileReader(EcuLink& link, SetupProgress progress = {});

  // Progress is reported before each line (lines done, line count) and once
  // more at the end; never for an empty file.
  SetupFileReport load(const std::string& path);

 private:
  EcuLink& link_;
  SetupProgress progress_;
};

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_SETUP_FILE_READER_H_
