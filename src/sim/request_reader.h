#ifndef ECU_SIM_REQUEST_READER_H_
#define ECU_SIM_REQUEST_READER_H_

#include <string>
#include <string_view>
#include <vector>

namespace ecu::sim {

// Cuts the byte stream from the console into 8-byte request frames. Bytes
// may come split or several frames at once; anything that is not a frame
// (line noise, a frame cut short) is skipped by looking for the next 0x02
// 0x08 whose checksum holds.
class RequestReader {
 public:
  // Adds bytes and returns the whole requests now complete, in order.
  // `skipped` (optional) receives the number of bytes thrown away.
  std::vector<std::string> Add(std::string_view bytes, int* skipped = nullptr);

  // Bytes held while a request may still be arriving.
  size_t pending() const { return buffer_.size(); }

 private:
  std::string buffer_;
};

}  // namespace ecu::sim

#endif  // ECU_SIM_REQUEST_READER_H_
