#ifndef ECU_CORE_LINK_LIVE_DECODING_H_
#define ECU_CORE_LINK_LIVE_DECODING_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/link/live_data.h"
#include "core/link/reply_table.h"

namespace ecu {

// The live frames' request codes.
inline constexpr uint8_t kLiveFrame = 'A';
inline constexpr uint8_t kAuxFrame = 'F';
inline constexpr uint8_t kIdleAirFrame = 152;
inline constexpr uint8_t kActiveMapFrame = 178;
// N of the "A" reply; on the line it is N + 2 bytes.
inline constexpr int kLiveFrameLength = 23;

// Decoders of the four live frames. Each writes LiveData field by field.
void DecodeLiveFrame(std::string_view frame, LiveData& live);       // "A"
void DecodeAuxFrame(std::string_view frame, LiveData& live);        // "F"
void DecodeIdleAirFrame(std::string_view frame, LiveData& live);    // 152
void DecodeActiveMapFrame(std::string_view frame, LiveData& live);  // 178

// Adds "A" (23), "F" (7), 152 (9) and 178 (10) to the reply table.
// `map_number_shown` receives the monitor's map_num text ("0" format) each
// time frame 178 is decoded.
void AddLiveReplies(ReplyTable& replies, LiveData& live,
                    std::function<void(const std::string&)> map_number_shown);

// The name of an idle-air stepper state, "????" for an unknown one.
std::string IacStateName(int state);

}  // namespace ecu

#endif  // ECU_CORE_LINK_LIVE_DECODING_H_
