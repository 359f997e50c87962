#ifndef ECU_CORE_LINK_FRAME_H_
#define ECU_CORE_LINK_FRAME_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace ecu {

// Request frames are always 8 bytes: 0x02, 0x08, the 4-byte command field
// and the 16-bit additive checksum of bytes 0..5, low byte first.
inline constexpr int kRequestLength = 8;
// The reply buffer holds at most 32 bytes.
inline constexpr int kMaxReplyLength = 32;
// One byte on the line: a start bit, 8 data bits and a stop bit at 19200
// baud.
inline constexpr double kSecondsPerByte = 10.0 / 19200.0;

inline uint8_t ByteAt(std::string_view bytes, size_t i) {
  return static_cast<uint8_t>(bytes[i]);
}
// Little-endian unsigned 16-bit value at byte i.
inline int U16At(std::string_view bytes, size_t i) {
  return ByteAt(bytes, i) + 256 * ByteAt(bytes, i + 1);
}
// Byte i as a signed 8-bit value.
inline int S8At(std::string_view bytes, size_t i) {
  const int raw = ByteAt(bytes, i);
  return raw > 127 ? raw - 256 : raw;
}

// Sum of the bytes as unsigned integers.
int ByteSum(std::string_view bytes);

// The command field is the command string with "000" appended, cut to four
// characters: "A" goes out as 'A' '0' '0' '0'.
std::string CommandField(std::string_view command);
std::string BuildRequest(std::string_view command);

// A command string of the code alone: it goes out as the code and "000".
inline std::string Command(int code) {
  return std::string(1, static_cast<char>(code & 0xFF));
}
// A command string from a code and argument bytes, e.g. Command('s', 0x10,
// 0x27, 0) for the two-byte write of 10000.
std::string Command(int code, int arg1, int arg2, int arg3);
// A command string with a two-byte little-endian value and a trailing zero.
std::string CommandWithWord(int code, int value);
// A command string with one value byte and two zeros.
std::string CommandWithByte(int code, int value);

// A reply frame as the ECU sends it: start byte, total length N + 2, the
// code, the data, and the checksum of everything before it.
std::string BuildReply(uint8_t code, std::string_view data,
                       uint8_t start_byte = 0x02);

// True when the bytes form a whole reply frame: more than 2 and at most 32
// bytes, byte 1 equal to the count, and a matching checksum.
bool IsValidReplyFrame(std::string_view reply);

}  // namespace ecu

#endif  // ECU_CORE_LINK_FRAME_H_
