#ifndef ECU_TESTS_SUPPORT_SCRIPTED_PROMPTS_H_
#define ECU_TESTS_SUPPORT_SCRIPTED_PROMPTS_H_

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/platform/prompts.h"

namespace ecu::testing {

// Records every message box and file dialog and answers the questions from a
// script; a question without a scripted answer gets its default button, a
// dialog without a scripted name is cancelled.
class ScriptedPrompts : public Prompts {
 public:
  Answer Show(const Message& box) override {
    shown_.push_back(box);
    if (on_show_) on_show_(box);
    // A single OK button leaves no choice, so it takes no scripted answer.
    if (answers_.empty() || box.buttons == Buttons::kOk) {
      return DefaultAnswer(box);
    }
    const Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  std::string OpenFileName(const FileDialog& dialog) override {
    dialogs_.push_back(dialog);
    return NextName(dialog);
  }
  std::string SaveFileName(const FileDialog& dialog) override {
    dialogs_.push_back(dialog);
    return NextName(dialog);
  }

  void QueueAnswer(Answer answer) { answers_.push_back(answer); }
  void QueueFileName(std::string name) { names_.push_back(std::move(name)); }
  void set_on_show(std::function<void(const Message&)> f) {
    on_show_ = std::move(f);
  }

  const std::vector<Message>& shown() const { return shown_; }
  const std::vector<FileDialog>& dialogs() const { return dialogs_; }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const Message& m : shown_) out.push_back(m.text);
    return out;
  }
  void Clear() { shown_.clear(); }

 private:
  std::string NextName(const FileDialog& dialog) {
    if (names_.empty()) return dialog.initial_name;
    std::string name = names_.front();
    names_.pop_front();
    return name;
  }

  std::deque<Answer> answers_;
  std::deque<std::string> names_;
  std::vector<Message> shown_;
  std::vector<FileDialog> dialogs_;
  std::function<void(const Message&)> on_show_;
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_SUPPORT_SCRIPTED_PROMPTS_H_
