#ifndef ECU_CORE_FIRMWARE_LOADER_TERMINAL_H_
#define ECU_CORE_FIRMWARE_LOADER_TERMINAL_H_

#include <deque>
#include <functional>
#include <string>
#include <string_view>

namespace ecu {

// The flash utility's terminal area: the procedure's own notes and whatever
// the loader prints, line by line. Like the picture it is printed into, it
// scrolls: only the most recent lines are kept.
class LoaderTerminal {
 public:
  static constexpr size_t kMaxLines = 500;
  // A loader that never sends a carriage return still gets its text wrapped.
  static constexpr size_t kMaxLineLength = 4096;

  LoaderTerminal();

  void Clear();
  // Appends to the current line, without a line break.
  void Print(std::string_view text);
  void NewLine();

  const std::deque<std::string>& lines() const { return lines_; }
  // The lines joined with '\n'.
  std::string Text() const;
  // Changes with every change, so a view redraws only when it must.
  long revision() const { return revision_; }

  // Sees every Print (its text) and NewLine ("\n") as it happens; ecu-cli
  // echoes the terminal this way.
  void set_echo(std::function<void(std::string_view)> echo) {
    echo_ = std::move(echo);
  }

 private:
  void StartLine();

  std::deque<std::string> lines_;
  long revision_ = 0;
  std::function<void(std::string_view)> echo_;
};

}  // namespace ecu

#endif  // ECU_CORE_FIRMWARE_LOADER_TERMINAL_H_
