#include "core/link/controller_commands.h"

#include <tuple>

#include "core/link/frame.h"

namespace ecu {
namespace {

constexpr uint8_t kControllerCode = 174;
constexpr uint8_t kRevisionCode = 'R';
constexpr uint8_t kSerialNumberCode = '-';
constexpr uint8_t kEgoLoopOff = 'D';
constexpr uint8_t kEgoLoopOn = 'd';
constexpr int kResetKey = 165;
constexpr int kReflashKey = 90;

void Changed(ControllerInfo& info) { info.changed.Emit(); }

}  // namespace

std::string FirmwareRevisionText(int revision) {
  std::string digits = std::to_string(revision);
  if (digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
  digits = digits.substr(digits.size() - 5);
  return "V" + digits.substr(0, 1) + "." + digits.substr(1, 2) + "." +
         digits.substr(3, 2);
}

void AddControllerReplies(ReplyTable& replies, EcuLink& link,
                          ControllerInfo& info) {
  replies.Add(kControllerCode, 4, [&link, &info](std::string_view frame) {
    // Only byte 3 tells the two replies apart; other values show nothing.
    const int key = ByteAt(frame, 3);
    if (key == kResetKey) {
      link.prompts().Tell("The controller has been succesfully reset.");
    } else if (key == kReflashKey) {
      info.flash_utility_enabled = true;
      Changed(info);
      link.prompts().Tell("The controller is now ready to re-flash.");
    }
    link.TouchReceiveTime();
    return true;
  });
  replies.Add(kRevisionCode, kRevisionLength, [&info](std::string_view frame) {
    info.firmware_revision = FirmwareRevisionText(U16At(frame, 3));
    Changed(info);
    return true;
  });
  replies.Add(kSerialNumberCode, 6, [&info](std::string_view frame) {
    const long serial =
        ByteAt(frame, 3) + 256L * ByteAt(frame, 4) + 65536L * ByteAt(frame, 5);
    info.serial_number = std::to_string(serial);
    Changed(info);
    return true;
  });
  // The EGO switch replies carry no data; their length is all that counts.
  replies.Add(kEgoLoopOn, 3, [](std::string_view) { return true; });
  replies.Add(kEgoLoopOff, 3, [](std::string_view) { return true; });
}

CommandOutcome ReadRevision(EcuLink& link) {
  return link.SendCommand(Command(kRevisionCode));
}

CommandOutcome ReadSerialNumber(EcuLink& link) {
  return link.SendCommand(Command(kSerialNumberCode));
}

CommandOutcome RequestReflash(EcuLink& link) {
  return link.SendCommand(Command(kControllerCode, kReflashKey, 0, 0));
}

// The commands of the Tool menu, the About box and the dashboard tell the
// user whatever happens (the reply's message, or the link's), so their
// outcomes are not needed further.
void ResetController(EcuLink& link) {
  link.TouchReceiveTime();
  link.EnsureLink();
  std::ignore = link.SendCommand(Command(kControllerCode, kResetKey, 0, 0));
}

void PrepareToReflash(EcuLink& link) {
  link.TouchReceiveTime();
  Message question;
  question.text =
      "Do you really want to stop the controller and re-flash its memory?";
  question.buttons = Buttons::kOkCancel;
  // OK stops the engine's controller: Enter says Cancel.
  question.default_button = 1;
  const Answer answer = link.prompts().Show(question);
  link.EnsureLink();
  if (answer == Answer::kOk) {
    std::ignore = RequestReflash(link);
  }
}

void ReadIdentification(EcuLink& link, ControllerInfo& info) {
  if (link.state().demo_mode) {
    info.firmware_revision = "DEMO MODE";
    Changed(info);
    return;
  }
  link.Pause(0.5);
  std::ignore = ReadRevision(link);
  link.Pause(0.2);
  std::ignore = ReadSerialNumber(link);
  link.Pause(0.2);
}

void SwitchEgoLoop(EcuLink& link, int item) {
  link.Pause(0.2);
  if (item == 1) {
    std::ignore = link.SendCommand(Command(kEgoLoopOff));
  } else if (item == 0) {
    std::ignore = link.SendCommand(Command(kEgoLoopOn));
  } else {
    link.Pause(0.1);
    return;
  }
  link.Pause(0.1);
}

}  // namespace ecu
