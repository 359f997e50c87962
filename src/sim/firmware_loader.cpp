#include "sim/firmware_loader.h"

#include <cstdint>

namespace ecu::sim {
namespace {

// Nothing in what the loader prints may hold a capital "B" or "E" but the
// two signals themselves: the console reacts to those letters wherever they
// appear.
constexpr char kBanner[] = "\r\nflash loader 1.0\r\nB";
constexpr char kAskAgain = 'q';

bool IsLineSpace(char c) {
  return c == '\r' || c == '\n' || c == ' ' || c == '\t';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Address bytes of each record type; 0 for a type that does not exist.
int AddressBytes(char type) {
  switch (type) {
    case '0':
    case '1':
    case '5':
    case '9':
      return 2;
    case '2':
    case '6':
    case '8':
      return 3;
    case '3':
    case '7':
      return 4;
    default:
      return 0;
  }
}

bool IsTermination(char type) {
  return type == '7' || type == '8' || type == '9';
}

// The byte at hex pair `index` of a record (pair 0 is the byte count).
int PairAt(const std::string& record, size_t index) {
  const size_t at = 2 + 2 * index;
  return HexValue(record[at]) * 16 + HexValue(record[at + 1]);
}

}  // namespace

size_t FirmwareLoader::Receive(std::string_view bytes, std::string* reply) {
  size_t taken = 0;
  for (const char c : bytes) {
    if (!Take(c, reply)) break;
    received_.push_back(c);
    if (log_) log_(std::string_view(&c, 1));
    ++taken;
  }
  return taken;
}

void FirmwareLoader::Restart() {
  state_ = State::kBetweenRecords;
  record_.clear();
}

bool FirmwareLoader::Take(char c, std::string* reply) {
  if (state_ == State::kCompleted) return IsLineSpace(c);
  if (c == kAskAgain) {
    // Asked again: whatever was under way is dropped.
    state_ = State::kBetweenRecords;
    record_.clear();
    *reply += kBanner;
    return true;
  }
  switch (state_) {
    case State::kFailed:
      break;
    case State::kBetweenRecords:
      if (c == 'S') {
        record_ = "S";
        state_ = State::kInRecord;
      } else if (!IsLineSpace(c)) {
        Fail("unexpected character", reply);
      }
      break;
    case State::kInRecord:
      TakeRecordByte(c, reply);
      break;
    case State::kCompleted:
      break;
  }
  return true;
}

void FirmwareLoader::TakeRecordByte(char c, std::string* reply) {
  if (record_.size() == 1) {
    if (AddressBytes(c) == 0) {
      Fail("unknown record type", reply);
      return;
    }
    record_.push_back(c);
    return;
  }
  if (HexValue(c) < 0) {
    // A line end or the next record before this one is complete: the byte
    // count promised more than came.
    Fail(IsLineSpace(c) || c == 'S' ? "record shorter than its byte count"
                                    : "bad character",
         reply);
    return;
  }
  record_.push_back(c);
  if (record_.size() == 4 &&
      PairAt(record_, 0) < AddressBytes(record_[1]) + 1) {
    Fail("byte count too small", reply);
    return;
  }
  if (record_.size() >= 4 &&
      record_.size() == 4 + 2 * static_cast<size_t>(PairAt(record_, 0))) {
    FinishRecord(reply);
  }
}

void FirmwareLoader::FinishRecord(std::string* reply) {
  const size_t count = static_cast<size_t>(PairAt(record_, 0));
  uint32_t sum = 0;
  for (size_t i = 0; i < count; ++i)
    sum += static_cast<uint32_t>(PairAt(record_, i));
  const int checksum = PairAt(record_, count);
  if (((~sum) & 0xFF) != static_cast<uint32_t>(checksum)) {
    Fail("bad checksum", reply);
    return;
  }
  ++good_records_;
  const char type = record_[1];
  record_.clear();
  state_ = State::kBetweenRecords;
  if (IsTermination(type)) {
    state_ = State::kCompleted;
    *reply +=
        "\r\n" + std::to_string(good_records_) + " records, flash complete\r\n";
  }
}

void FirmwareLoader::Fail(const std::string& why, std::string* reply) {
  ++bad_records_;
  state_ = State::kFailed;
  *reply +=
      "\r\nrecord " + std::to_string(good_records_ + 1) + ": " + why + "\r\nE";
  record_.clear();
}

}  // namespace ecu::sim
