#include "app/cli/cli_prompts.h"

#include <cstdio>

namespace ecu::cli {
namespace {

const char* AnswerName(Answer answer) {
  switch (answer) {
    case Answer::kOk:
      return "OK";
    case Answer::kCancel:
      return "Cancel";
    case Answer::kYes:
      return "Yes";
    case Answer::kNo:
      return "No";
  }
  return "OK";
}

}  // namespace

Answer StderrPrompts::Show(const Message& box) {
  ++messages_shown_;
  if (before_message_) before_message_();
  Answer answer = DefaultAnswer(box);
  if (confirmed_ && box.buttons != Buttons::kOk) {
    answer = box.buttons == Buttons::kOkCancel ? Answer::kOk : Answer::kYes;
  }
  if (box.buttons == Buttons::kOk) {
    std::fprintf(stderr, "%s\n", box.text.c_str());
  } else {
    std::fprintf(stderr, "%s [%s]\n", box.text.c_str(), AnswerName(answer));
  }
  std::fflush(stderr);
  return answer;
}

std::string StderrPrompts::OpenFileName(const FileDialog&) { return ""; }
std::string StderrPrompts::SaveFileName(const FileDialog&) { return ""; }

}  // namespace ecu::cli
