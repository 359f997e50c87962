#ifndef ECU_TESTS_SUPPORT_VIRTUAL_LINE_PORT_H_
#define ECU_TESTS_SUPPORT_VIRTUAL_LINE_PORT_H_

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/platform/serial_port.h"
#include "sim/virtual_ecu.h"
#include "support/fake_clock.h"

namespace ecu::testing {

// One piece of what the far end sends: its bytes and the quiet time before
// it starts (after the request, or after the previous piece).
struct LineChunk {
  std::string bytes;
  double delay_s = 0;
};

// Answers the bytes the console wrote; `now` is virtual seconds.
using FarEnd =
    std::function<std::vector<LineChunk>(std::string_view bytes, double now)>;
// A virtual ECU as the far end (kept by the caller).
FarEnd FarEndOf(sim::VirtualEcu& ecu);

// An in-memory serial port in virtual time: bytes cross the line at 19200
// baud, 10 bits a byte, both ways; each chunk of the far end's reply becomes
// readable at once when its last byte has arrived (as a USB adapter hands
// bytes over). Waiting on the port moves the fake clock.
class VirtualLinePort : public SerialPort {
 public:
  static constexpr double kByteSeconds = 10.0 / 19200.0;

  VirtualLinePort(FakeClock& clock, FarEnd far_end);
  // Wired to a virtual ECU with the given options.
  VirtualLinePort(FakeClock& clock, const sim::SimOptions& options);

  bool Open(const std::string& device) override;
  void Close() override {
    open_ = false;
    lost_reason_.clear();
  }
  bool IsOpen() const override { return open_; }
  OpenError LastOpenError() const override { return open_error_; }
  std::string LostReason() const override { return lost_reason_; }
  void Write(std::string_view bytes) override;
  std::string ReadAll() override;
  int BytesAvailable() override;
  int BytesToWrite() override { return 0; }
  bool WaitForReadyRead(double timeout_seconds) override;

  // Every request frame the console wrote, in order.
  const std::vector<std::string>& written() const { return written_; }
  void ClearWritten() { written_.clear(); }
  // The codes, or the request fields (code and three argument bytes), of
  // the requests written since the last call.
  std::vector<int> TakeCodes();
  std::vector<std::string> TakeRequests();
  // A device ("/dev/missing" from the start) that fails to open as a busy or
  // forbidden one does.
  void set_open_failure(const std::string& device, OpenError error) {
    failures_[device] = std::move(error);
  }
  // The device opened last, so that a far end can answer as that port.
  const std::string& device() const { return device_; }
  sim::VirtualEcu* ecu() { return ecu_.get(); }
  // The adapter is pulled: the port closes itself with `reason` and no
  // open succeeds until Replug. With `after_writes` it goes once that many
  // more requests have been written, in the middle of a transaction.
  void Unplug(std::string reason, int after_writes = 0);
  void Replug() { unplugged_ = false; }
  // Request codes the far end never hears, as from an ECU that drops them.
  std::set<int> silent_codes;
  // Calls of Open(), successful or not.
  int opens_tried() const { return opens_tried_; }

 private:
  struct Arrival {
    double at;
    std::string bytes;
  };
  void Deliver();

  FakeClock& clock_;
  FarEnd far_end_;
  std::unique_ptr<sim::VirtualEcu> ecu_;
  bool open_ = false;
  bool unplugged_ = false;
  int opens_tried_ = 0;
  int writes_until_unplug_ = -1;
  std::string lost_reason_;
  std::string unplug_reason_;
  std::map<std::string, OpenError> failures_ = {
      {"/dev/missing", {OpenFailure::kMissing, "No such file or directory"}}};
  OpenError open_error_;
  std::string device_;
  double line_free_at_ = 0;  // when the console's last byte has left
  std::deque<Arrival> pending_;
  std::string received_;
  std::vector<std::string> written_;
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_SUPPORT_VIRTUAL_LINE_PORT_H_
