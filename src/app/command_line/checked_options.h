#ifndef ECU_APP_COMMAND_LINE_CHECKED_OPTIONS_H_
#define ECU_APP_COMMAND_LINE_CHECKED_OPTIONS_H_

#include <CLI/CLI.hpp>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ecu::command_line {

// Exit status of a program whose command line was not understood.
inline constexpr int kExitUsage = 2;

// An option taking a whole number in [lowest, highest], read by the one
// checked parser; anything else (empty, trailing text, out of range) is a
// usage error naming the option. The range is added to the help text.
CLI::Option* AddWholeNumber(CLI::App& app, const std::string& name,
                            int64_t lowest, int64_t highest,
                            std::function<void(int64_t)> store,
                            const std::string& help);

template <typename T>
CLI::Option* AddWholeNumber(CLI::App& app, const std::string& name, T* value,
                            int64_t lowest, int64_t highest,
                            const std::string& help) {
  return AddWholeNumber(
      app, name, lowest, highest,
      [value](int64_t v) { *value = static_cast<T>(v); }, help);
}

// An option taking a decimal number in [lowest, highest], read the same
// way.
CLI::Option* AddDecimalNumber(CLI::App& app, const std::string& name,
                              double lowest, double highest,
                              std::function<void(double)> store,
                              const std::string& help);

inline CLI::Option* AddDecimalNumber(CLI::App& app, const std::string& name,
                                     double* value, double lowest,
                                     double highest, const std::string& help) {
  return AddDecimalNumber(
      app, name, lowest, highest, [value](double v) { *value = v; }, help);
}

// An option taking a number of seconds from 0 to `highest`.
CLI::Option* AddSeconds(CLI::App& app, const std::string& name, double highest,
                        std::function<void(double)> store,
                        const std::string& help);

inline CLI::Option* AddSeconds(CLI::App& app, const std::string& name,
                               double* value, double highest,
                               const std::string& help) {
  return AddSeconds(
      app, name, highest, [value](double s) { *value = s; }, help);
}

// What reading a command line came to.
struct ParseOutcome {
  enum class Kind { kRun, kHelp, kUsageError };
  Kind kind = Kind::kRun;
  std::string text;  // the help text, or what was wrong
};

// Reads `args` (without the program name) into `app`'s options.
ParseOutcome Parse(CLI::App& app, std::vector<std::string> args);

// Prints the help (to stdout) or the usage error (to stderr, prefixed by
// the program's name) and gives the exit status: 0 after help, 2 after an
// error. Not for kRun.
int Report(const ParseOutcome& outcome, const std::string& program);

// The help layout both programs share: their name, a one-line purpose, the
// options and commands with their ranges, and `footer` below.
void SetUpHelp(CLI::App& app, const std::string& footer);

}  // namespace ecu::command_line

#endif  // ECU_APP_COMMAND_LINE_CHECKED_OPTIONS_H_
