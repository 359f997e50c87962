#include "core/firmware/loader_terminal.h"

namespace ecu {

LoaderTerminal::LoaderTerminal() { lines_.emplace_back(); }

void LoaderTerminal::Clear() {
  // An echo cannot take text back; it starts afresh on a new line instead.
  if (echo_ && !lines_.back().empty()) echo_("\n");
  lines_.clear();
  lines_.emplace_back();
  ++revision_;
}

void LoaderTerminal::Print(std::string_view text) {
  if (text.empty()) return;
  for (char c : text) {
    if (lines_.back().size() >= kMaxLineLength) StartLine();
    lines_.back().push_back(c);
  }
  ++revision_;
  if (echo_) echo_(text);
}

void LoaderTerminal::NewLine() {
  StartLine();
  ++revision_;
  if (echo_) echo_("\n");
}

void LoaderTerminal::StartLine() {
  lines_.emplace_back();
  while (lines_.size() > kMaxLines) lines_.pop_front();
}

std::string LoaderTerminal::Text() const {
  std::string text;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text.push_back('\n');
    text += lines_[i];
  }
  return text;
}

}  // namespace ecu
