// port.cfg of any bytes: the port choice read from it is a COM number in
// range or a path, the Comm menu marks only its six entries, and a choice
// written back reads back the same.

#include <string>
#include <string_view>

#include "core/link/link_state.h"
#include "core/link/port_config.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecu;
  using namespace ecu::fuzz;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string& folder = ScratchFolder();
  WriteScratchFile(kPortConfigName, text);

  const PortChoice choice = ReadPortChoice(folder);
  Require(choice.device.find('\n') == std::string::npos,
          "a device name with a line end");
  Require(
      choice.number == 0 || choice.device == DeviceForComPort(choice.number),
      "a COM number whose device is another");
  LinkState state;
  ApplyPortChoice(choice, &state);
  Require(state.checked_port_entry >= 0 && state.checked_port_entry <= 6,
          "a Comm menu entry beyond the six");
  Require(state.port_device == choice.device, "the link got another device");

  if (choice.device.empty()) return 0;
  const std::string stored =
      choice.number != 0 ? std::to_string(choice.number) : choice.device;
  Require(WritePortChoice(folder, stored), "port.cfg could not be written");
  const PortChoice again = ReadPortChoice(folder);
  Require(again.number == choice.number && again.device == choice.device,
          "a stored port choice reads back otherwise");
  return 0;
}
