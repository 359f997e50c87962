#include "core/link/frame.h"

namespace ecu {

int ByteSum(std::string_view bytes) {
  int sum = 0;
  for (char c : bytes) sum += static_cast<uint8_t>(c);
  return sum;
}

std::string CommandField(std::string_view command) {
  std::string field(command);
  field += "000";
  field.resize(4);
  return field;
}

std::string BuildRequest(std::string_view command) {
  std::string frame = "\x02\x08";
  frame += CommandField(command);
  const int sum = ByteSum(frame);
  frame.push_back(static_cast<char>(sum & 0xFF));
  frame.push_back(static_cast<char>((sum >> 8) & 0xFF));
  return frame;
}

std::string Command(int code, int arg1, int arg2, int arg3) {
  std::string command;
  for (int b : {code, arg1, arg2, arg3}) {
    command.push_back(static_cast<char>(b & 0xFF));
  }
  return command;
}

std::string CommandWithWord(int code, int value) {
  return Command(code, value & 0xFF, (value >> 8) & 0xFF, 0);
}

std::string CommandWithByte(int code, int value) {
  return Command(code, value & 0xFF, 0, 0);
}

std::string BuildReply(uint8_t code, std::string_view data,
                       uint8_t start_byte) {
  std::string frame;
  frame.push_back(static_cast<char>(start_byte));
  frame.push_back(static_cast<char>(data.size() + 5));
  frame.push_back(static_cast<char>(code));
  frame.append(data);
  const int sum = ByteSum(frame);
  frame.push_back(static_cast<char>(sum & 0xFF));
  frame.push_back(static_cast<char>((sum >> 8) & 0xFF));
  return frame;
}

bool IsValidReplyFrame(std::string_view reply) {
  const size_t n = reply.size();
  if (n <= 2 || n > kMaxReplyLength || ByteAt(reply, 1) != n) return false;
  const int sum = ByteSum(reply.substr(0, n - 2));
  return ByteAt(reply, n - 2) == (sum & 0xFF) &&
         ByteAt(reply, n - 1) == ((sum >> 8) & 0xFF);
}

}  // namespace ecu
