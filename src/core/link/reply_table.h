#ifndef ECU_CORE_LINK_REPLY_TABLE_H_
#define ECU_CORE_LINK_REPLY_TABLE_H_

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

namespace ecu {

// Decodes the data of a whole, checked reply frame (bytes from the start
// byte to the checksum). Returns false when the reply must not be accepted
// (a table address in no range), so the transaction retries.
using ReplyDecoder = std::function<bool(std::string_view frame)>;

// The one table of reply codes the link knows: code -> expected length N
// (without the two checksum bytes) and its decoder. Live frames, calibration
// items and controller replies each add their codes.
class ReplyTable {
 public:
  struct Entry {
    int length = 0;
    ReplyDecoder decode;
    // How many leading argument bytes of the request the reply's data
    // repeats (a table cell's address): with the code they tell the reply
    // to this request from a late one to an earlier request.
    int echoed_arguments = 0;
  };

  // Registers (or replaces) the decoder of a code.
  void Add(uint8_t code, int length, ReplyDecoder decode,
           int echoed_arguments = 0);
  // The entry of a code, or nullptr for a code nobody registered.
  const Entry* Find(uint8_t code) const;
  // The expected reply length N of a code, or 0 when unknown.
  int LengthOf(uint8_t code) const;
  // Whether a whole, checked reply frame answers this request frame: the
  // same code and, where the code's reply repeats them, the same address
  // bytes.
  bool Answers(std::string_view request, std::string_view reply) const;

 private:
  std::array<Entry, 256> entries_{};
};

}  // namespace ecu

#endif  // ECU_CORE_LINK_REPLY_TABLE_H_
