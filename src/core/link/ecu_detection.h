#ifndef ECU_CORE_LINK_ECU_DETECTION_H_
#define ECU_CORE_LINK_ECU_DETECTION_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/clock.h"
#include "core/platform/serial_port.h"

namespace ecu {

// A serial port the system lists now, with what it says of itself.
struct PresentPort {
  std::string device;  // "/dev/ttyUSB0"
  std::string description;
  std::string maker;
  std::optional<uint16_t> vendor_id;
  std::optional<uint16_t> product_id;
};

// "/dev/ttyUSB0  FT232R USB UART (FTDI, 0403:6001)"
std::string PortCaption(const PresentPort& port);

// What one port said to the revision request.
struct PortProbe {
  enum class Result {
    kAnswered,  // a well-formed revision reply: an ECU
    kSilent,    // nothing within the time allowed
    kNotAnEcu,  // bytes, but no revision reply
    kBusy,      // in use by another program
    kNoPermission,
    kMissing,
    kCannotOpen,
  };
  std::string device;
  Result result = Result::kSilent;
  int revision = 0;            // when answered
  std::optional<long> serial;  // when it also answered "-"
  std::string detail;          // the driver's words, or the bytes seen
};

// What a probe came to, for a list: "ECU V1.01.03, serial 123456",
// "no answer within 0.5 s", "in use by another program", or, for a port
// the user may not open, what to do about it on Linux.
std::string ProbeText(const PortProbe& probe, double timeout_seconds);

struct Detection {
  std::vector<PortProbe> probes;
  // The first port that answered, or nullptr.
  const PortProbe* found() const;
};

struct DetectionOptions {
  double timeout_seconds = 0.5;  // per port, for the revision reply
  bool stop_at_first = true;
  // Called before each port is opened (index, count), for progress.
  std::function<void(int, int)> progress;
};

// Opens each device in turn with the fixed line settings, sends the
// revision request "R" and takes a well-formed reply as an ECU, then asks
// it for its serial number. Ports that cannot be opened are skipped and
// named; the port is closed after each. Nothing but "R" and "-" is sent.
Detection DetectEcu(SerialPort& port, Clock& clock,
                    const std::vector<std::string>& devices,
                    const DetectionOptions& options = {});

// The whole result for a message: the port that answered (or that none
// did, with what to check) and what each port tried said. `stored` says
// whether the port that answered could be kept as the console's port.
std::string DetectionReport(const Detection& detection, double timeout_seconds,
                            bool stored = true);

// The devices to try: `first` (the stored choice, when it is a device the
// system does not list, such as a pty) and then every present port.
std::vector<std::string> DetectionCandidates(
    const std::vector<PresentPort>& present, const std::string& first);

}  // namespace ecu

#endif  // ECU_CORE_LINK_ECU_DETECTION_H_
