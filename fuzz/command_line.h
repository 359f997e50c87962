#ifndef ECU_FUZZ_COMMAND_LINE_H_
#define ECU_FUZZ_COMMAND_LINE_H_

#include <string>
#include <string_view>
#include <vector>

namespace ecu::fuzz {

// The arguments of a command line, one between each NUL byte of the input.
inline std::vector<std::string> ArgumentsOf(const uint8_t* data, size_t size) {
  constexpr size_t kMostArguments = 24;
  std::vector<std::string> args;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  while (!text.empty() && args.size() < kMostArguments) {
    const size_t end = text.find('\0');
    args.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return args;
}

}  // namespace ecu::fuzz

#endif  // ECU_FUZZ_COMMAND_LINE_H_
