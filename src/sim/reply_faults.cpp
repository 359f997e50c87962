#include "sim/reply_faults.h"

#include "core/link/frame.h"

namespace ecu::sim {
namespace {

void AddNote(std::string& notes, const char* note) {
  if (!notes.empty()) notes += ", ";
  notes += note;
}

}  // namespace

ReplyFaults::ReplyFaults(const SimOptions& options) : options_(options) {}

ShapedReply ReplyFaults::Shape(const std::string& frame) {
  ++replies_;
  ShapedReply out;
  if (Due(options_.drop_every)) {
    out.faults = "dropped";
    return out;
  }
  std::string bytes = frame;
  if (Due(options_.wrong_length_every)) {
    bytes = WithWrongLength(bytes);
    AddNote(out.faults, "wrong length");
  }
  if (Due(options_.corrupt_every)) {
    bytes[bytes.size() - 2] = static_cast<char>(bytes[bytes.size() - 2] ^ 0xFF);
    AddNote(out.faults, "bad checksum");
  }
  if (Due(options_.extra_byte_every)) {
    bytes.push_back('\0');
    AddNote(out.faults, "extra byte");
  }
  if (Due(options_.split_every) && bytes.size() > 1) {
    const size_t cut = bytes.size() / 2;
    out.chunks.push_back({bytes.substr(0, cut), options_.delay_s});
    out.chunks.push_back({bytes.substr(cut), options_.split_gap_s});
    AddNote(out.faults, "split");
  } else {
    out.chunks.push_back({bytes, options_.delay_s});
  }
  return out;
}

std::string WithWrongLength(const std::string& frame) {
  const std::string_view whole(frame);
  std::string data(whole.substr(3, whole.size() - 5));
  if (data.empty()) {
    data.push_back('\0');
  } else {
    data.pop_back();
  }
  return BuildReply(ByteAt(whole, 2), data, ByteAt(whole, 0));
}

}  // namespace ecu::sim
