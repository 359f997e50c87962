#include "sim/request_reader.h"

#include "core/link/frame.h"

namespace ecu::sim {
namespace {

constexpr char kStartByte = 0x02;
constexpr char kLengthByte = 0x08;

bool HasValidChecksum(std::string_view frame) {
  const int sum = ByteSum(frame.substr(0, kRequestLength - 2));
  return U16At(frame, kRequestLength - 2) == (sum & 0xFFFF);
}

}  // namespace

std::vector<std::string> RequestReader::Add(std::string_view bytes,
                                            int* skipped) {
  buffer_.append(bytes);
  std::vector<std::string> requests;
  int thrown_away = 0;
  size_t pos = 0;
  while (pos < buffer_.size()) {
    // A request can only start with 0x02 0x08; a lone 0x02 at the very end
    // may still be the start of one.
    if (buffer_[pos] != kStartByte ||
        (pos + 1 < buffer_.size() && buffer_[pos + 1] != kLengthByte)) {
      ++pos;
      ++thrown_away;
      continue;
    }
    if (buffer_.size() - pos < kRequestLength) break;
    std::string_view candidate(buffer_.data() + pos, kRequestLength);
    if (HasValidChecksum(candidate)) {
      requests.emplace_back(candidate);
      pos += kRequestLength;
    } else {
      // Not a frame after all: resynchronise one byte further on, since a
      // real start may hide inside the bytes taken for this one.
      ++pos;
      ++thrown_away;
    }
  }
  buffer_.erase(0, pos);
  if (skipped != nullptr) *skipped = thrown_away;
  return requests;
}

}  // namespace ecu::sim
