#ifndef ECU_CORE_FIRMWARE_FLASH_CONTROLS_H_
#define ECU_CORE_FIRMWARE_FLASH_CONTROLS_H_

#include <string>

namespace ecu {

// The state of sflash's controls, as data: the window shows it and writes
// the user's ticks and delay texts back.
struct FlashControls {
  bool flash_program_enabled = true;  // Command1 "Flash Program"
  bool halt_enabled = false;          // Command2 "Halt Flashing"
  bool monitor_check_enabled = true;  // Command3 "Monitor Check"
  bool exit_enabled = true;           // exit_flash "Exit Flash Util."

  bool line_delay_ticked = false;         // line_delay_box "Add line dly."
  std::string line_delay_text = "0.020";  // line_dly, seconds
  bool char_delay_ticked = false;         // char_delay_box
  std::string char_delay_text = "0.001";  // char_dly, seconds

  std::string lines_sent = "0";  // caption after "Lines Sent:"
};

// The seconds a delay text stands for, read leniently ("0.020" gives 0.02,
// text that is not a number 0). Negative or endless values give 0.
double DelaySeconds(const std::string& text);

}  // namespace ecu

#endif  // ECU_CORE_FIRMWARE_FLASH_CONTROLS_H_
