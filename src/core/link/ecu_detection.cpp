#include "core/link/ecu_detection.h"

#include <algorithm>
#include <cstdio>

#include "core/link/controller_commands.h"
#include "core/link/frame.h"

namespace ecu {
namespace {

constexpr char kRevisionRequest[] = "R";
constexpr int kRevisionFrame = kRevisionLength + 2;
constexpr char kSerialRequest[] = "-";
constexpr int kSerialFrame = 8;  // N 6 plus the checksum
constexpr size_t kBytesShown = 8;

// Collects a reply frame of `count` bytes until it is whole, cannot become
// one (its length byte says otherwise) or the time is up; what arrived.
std::string Collect(SerialPort& port, Clock& clock, int count,
                    double timeout_seconds) {
  timeout_seconds = BoundedTimedWait(timeout_seconds);
  const float start = clock.SecondsSinceMidnight();
  std::string bytes;
  while (port.IsOpen()) {
    bytes += port.ReadAll();
    const bool hopeless = bytes.size() >= 2 && ByteAt(bytes, 1) != count;
    if (static_cast<int>(bytes.size()) >= count || hopeless) break;
    const double left =
        timeout_seconds - ElapsedSince(start, clock.SecondsSinceMidnight());
    if (left <= 0) break;
    port.WaitForReadyRead(left);
  }
  return bytes;
}

bool IsReplyTo(std::string_view reply, char code, int length) {
  return static_cast<int>(reply.size()) == length && IsValidReplyFrame(reply) &&
         ByteAt(reply, 2) == code;
}

std::string Hex(std::string_view bytes) {
  std::string text;
  for (size_t i = 0; i < bytes.size() && i < kBytesShown; ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02X", ByteAt(bytes, i));
    text += (i == 0 ? "" : " ") + std::string(byte);
  }
  return bytes.size() > kBytesShown ? text + " ..." : text;
}

PortProbe::Result ResultOf(OpenFailure failure) {
  switch (failure) {
    case OpenFailure::kBusy:
      return PortProbe::Result::kBusy;
    case OpenFailure::kNoPermission:
      return PortProbe::Result::kNoPermission;
    case OpenFailure::kMissing:
      return PortProbe::Result::kMissing;
    default:
      break;
  }
  return PortProbe::Result::kCannotOpen;
}

PortProbe Probe(SerialPort& port, Clock& clock, const std::string& device,
                double timeout_seconds) {
  PortProbe probe;
  probe.device = device;
  if (!port.Open(device)) {
    const OpenError error = port.LastOpenError();
    probe.result = ResultOf(error.kind);
    probe.detail = error.text;
    return probe;
  }
  port.ReadAll();  // whatever a device chattered before we asked
  port.Write(BuildRequest(kRevisionRequest));
  const std::string reply =
      Collect(port, clock, kRevisionFrame, timeout_seconds);
  if (reply.empty()) {
    probe.result = PortProbe::Result::kSilent;
  } else if (!IsReplyTo(reply, 'R', kRevisionFrame)) {
    probe.result = PortProbe::Result::kNotAnEcu;
    probe.detail = Hex(reply);
  } else {
    probe.result = PortProbe::Result::kAnswered;
    probe.revision = U16At(reply, 3);
    port.Write(BuildRequest(kSerialRequest));
    const std::string serial =
        Collect(port, clock, kSerialFrame, timeout_seconds);
    if (IsReplyTo(serial, '-', kSerialFrame)) {
      probe.serial = ByteAt(serial, 3) + 256L * ByteAt(serial, 4) +
                     65536L * ByteAt(serial, 5);
    }
  }
  port.Close();
  return probe;
}

}  // namespace

std::string PortCaption(const PresentPort& port) {
  std::string caption = port.device;
  std::string about = port.maker;
  if (port.vendor_id && port.product_id) {
    char ids[16];
    std::snprintf(ids, sizeof ids, "%04x:%04x", *port.vendor_id,
                  *port.product_id);
    about += (about.empty() ? "" : ", ") + std::string(ids);
  }
  if (!port.description.empty()) caption += "  " + port.description;
  if (!about.empty()) caption += " (" + about + ")";
  return caption;
}

std::string ProbeText(const PortProbe& probe, double timeout_seconds) {
  char seconds[16];
  std::snprintf(seconds, sizeof seconds, "%g", timeout_seconds);
  switch (probe.result) {
    case PortProbe::Result::kAnswered:
      return "ECU " + FirmwareRevisionText(probe.revision) +
             (probe.serial ? ", serial " + std::to_string(*probe.serial)
                           : std::string(", no serial number"));
    case PortProbe::Result::kSilent:
      return std::string("no answer within ") + seconds + " s";
    case PortProbe::Result::kNotAnEcu:
      return "answered, but not as an ECU (" + probe.detail + ")";
    case PortProbe::Result::kBusy:
      return "in use by another program";
    case PortProbe::Result::kNoPermission:
      return "permission denied: on Linux add yourself to the port's group "
             "(sudo usermod -aG dialout $USER), then log out and in again";
    case PortProbe::Result::kMissing:
      return "no such port";
    case PortProbe::Result::kCannotOpen:
      break;
  }
  return "could not be opened (" + probe.detail + ")";
}

const PortProbe* Detection::found() const {
  for (const PortProbe& probe : probes) {
    if (probe.result == PortProbe::Result::kAnswered) return &probe;
  }
  return nullptr;
}

Detection DetectEcu(SerialPort& port, Clock& clock,
                    const std::vector<std::string>& devices,
                    const DetectionOptions& options) {
  Detection detection;
  const int count = static_cast<int>(devices.size());
  for (int i = 0; i < count; ++i) {
    if (options.progress) options.progress(i, count);
    detection.probes.push_back(Probe(
        port, clock, devices[static_cast<size_t>(i)], options.timeout_seconds));
    if (options.stop_at_first && detection.found() != nullptr) break;
  }
  if (options.progress) options.progress(count, count);
  return detection;
}

std::string DetectionReport(const Detection& detection, double timeout_seconds,
                            bool stored) {
  std::string text;
  if (const PortProbe* found = detection.found()) {
    text = "The ECU answered on " + found->device + " (" +
           ProbeText(*found, timeout_seconds) + ")";
    text += stored ? ". It is stored as the console's port and used from the "
                     "next start of the console."
                   : ", but it could not be stored as the console's port.";
  } else if (detection.probes.empty()) {
    text =
        "The system lists no serial port. Plug in the adapter, or type its "
        "device with Other Port...";
  } else {
    text =
        "No ECU answered. Check the cable and that the ECU has power, then "
        "try again.";
  }
  for (const PortProbe& probe : detection.probes) {
    if (&probe == detection.found()) continue;
    text += "\n" + probe.device + ": " + ProbeText(probe, timeout_seconds);
  }
  return text;
}

std::vector<std::string> DetectionCandidates(
    const std::vector<PresentPort>& present, const std::string& first) {
  std::vector<std::string> devices;
  if (!first.empty()) devices.push_back(first);
  for (const PresentPort& port : present) {
    if (std::find(devices.begin(), devices.end(), port.device) ==
        devices.end()) {
      devices.push_back(port.device);
    }
  }
  return devices;
}

}  // namespace ecu
