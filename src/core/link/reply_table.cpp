#include "core/link/reply_table.h"

#include <string_view>
#include <utility>

namespace ecu {

void ReplyTable::Add(uint8_t code, int length, ReplyDecoder decode,
                     int echoed_arguments) {
  entries_[code] = Entry{length, std::move(decode), echoed_arguments};
}

const ReplyTable::Entry* ReplyTable::Find(uint8_t code) const {
  const Entry& entry = entries_[code];
  return entry.length > 0 ? &entry : nullptr;
}

int ReplyTable::LengthOf(uint8_t code) const { return entries_[code].length; }

bool ReplyTable::Answers(std::string_view request,
                         std::string_view reply) const {
  // Request and reply both carry the code at byte 2, the request its
  // arguments and the reply its data from byte 3.
  constexpr size_t kCode = 2;
  if (request.size() <= kCode || reply.size() <= kCode ||
      request[kCode] != reply[kCode]) {
    return false;
  }
  const auto echoed = static_cast<size_t>(
      entries_[static_cast<uint8_t>(reply[kCode])].echoed_arguments);
  return request.size() >= kCode + 1 + echoed &&
         reply.size() >= kCode + 1 + echoed &&
         request.substr(kCode + 1, echoed) == reply.substr(kCode + 1, echoed);
}

}  // namespace ecu
