#ifndef ECU_CORE_FIRMWARE_FIRMWARE_FILE_H_
#define ECU_CORE_FIRMWARE_FIRMWARE_FILE_H_

#include <optional>
#include <string>
#include <vector>

namespace ecu {

// The lines of a firmware file (Motorola S-records, sent as text), without
// their line ends: CR LF, a lone LF or a lone CR each end a line. A last
// line without a line end still counts. Nothing when the file cannot be
// read or holds no line at all.
std::optional<std::vector<std::string>> ReadFirmwareLines(
    const std::string& path);

}  // namespace ecu

#endif  // ECU_CORE_FIRMWARE_FIRMWARE_FILE_H_
