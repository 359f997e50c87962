#ifndef ECU_QT_QT_SERIAL_PORT_H_
#define ECU_QT_QT_SERIAL_PORT_H_

#include <QSerialPort>
#include <string>

#include "core/platform/serial_port.h"

namespace ecu {

// The ECU line over QSerialPort, used without the event loop: every wait
// blocks in waitForReadyRead, so the interface thread never spins.
class QtSerialPort : public SerialPort {
 public:
  QtSerialPort();
  bool Open(const std::string& device) override;
  void Close() override;
  bool IsOpen() const override;
  OpenError LastOpenError() const override { return open_error_; }
  std::string LostReason() const override { return lost_reason_; }
  void Write(std::string_view bytes) override;
  std::string ReadAll() override;
  int BytesAvailable() override;
  int BytesToWrite() override;
  bool WaitForReadyRead(double timeout_seconds) override;

 private:
  // Pulls what the driver holds into the port's buffer without waiting.
  void Collect();
  // An unplugged adapter closes the port, so callers stop waiting on it.
  void CloseOnFatalError();
  // The driver reports the far end gone (no more bytes can ever come).
  bool HungUp() const;

  // Why the port could not be opened, told apart as a tuner must act on it.
  OpenError OpenErrorOf(const std::string& device) const;

  QSerialPort port_;
  OpenError open_error_;
  std::string lost_reason_;
};

}  // namespace ecu

#endif  // ECU_QT_QT_SERIAL_PORT_H_
