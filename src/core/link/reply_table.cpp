#include "core/link/reply_table.h"

#include <utility>

namespace ecu {

void ReplyTable::Add(uint8_t code, int length, ReplyDecoder decode) {
  entries_[code] = Entry{length, std::move(decode)};
}

const ReplyTable::Entry* ReplyTable::Find(uint8_t code) const {
  const Entry& entry = entries_[code];
  return entry.length > 0 ? &entry : nullptr;
}

int ReplyTable::LengthOf(uint8_t code) const { return entries_[code].length; }

}  // namespace ecu
