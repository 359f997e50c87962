#include "qt/qt_serial_port.h"

#include <QDeadlineTimer>

#ifdef Q_OS_UNIX
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "core/platform/clock.h"

namespace ecu {

QtSerialPort::QtSerialPort() = default;

bool QtSerialPort::Open(const std::string& device) {
  if (port_.isOpen()) port_.close();
  open_error_ = {};
  lost_reason_.clear();
  port_.setPortName(QString::fromStdString(device));
  if (!port_.open(QIODevice::ReadWrite)) {
    open_error_ = OpenErrorOf(device);
    port_.clearError();
    return false;
  }
  const bool settings_ok = port_.setBaudRate(QSerialPort::Baud19200) &&
                           port_.setDataBits(QSerialPort::Data8) &&
                           port_.setParity(QSerialPort::NoParity) &&
                           port_.setStopBits(QSerialPort::OneStop) &&
                           port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!settings_ok) {
    open_error_ = {OpenFailure::kOther, port_.errorString().toStdString()};
    port_.close();
    return false;
  }
  port_.clear();
  return true;
}

OpenError QtSerialPort::OpenErrorOf(const std::string& device) const {
  OpenError error{OpenFailure::kOther, port_.errorString().toStdString()};
  switch (port_.error()) {
    case QSerialPort::DeviceNotFoundError:
      error.kind = OpenFailure::kMissing;
      break;
    case QSerialPort::OpenError:
      error.kind = OpenFailure::kBusy;
      break;
    case QSerialPort::PermissionError:
      // Qt says "permission" both for a device the user may not open and
      // for one another program holds (busy, or its lock file).
      error.kind = OpenFailure::kBusy;
#ifdef Q_OS_UNIX
      if (::access(device.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
        error.kind = OpenFailure::kNoPermission;
      }
#endif
      break;
    default:
      break;
  }
  return error;
}

void QtSerialPort::Close() {
  lost_reason_.clear();
  if (port_.isOpen()) port_.close();
}

bool QtSerialPort::IsOpen() const { return port_.isOpen(); }

void QtSerialPort::Write(std::string_view bytes) {
  if (!port_.isOpen()) return;
  port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
  // Hand the bytes to the driver now; nobody runs the event loop for us.
  port_.waitForBytesWritten(0);
  CloseOnFatalError();
}

std::string QtSerialPort::ReadAll() {
  Collect();
  if (!port_.isOpen()) return {};
  const QByteArray data = port_.readAll();
  return std::string(data.constData(), static_cast<size_t>(data.size()));
}

int QtSerialPort::BytesAvailable() {
  Collect();
  return static_cast<int>(port_.bytesAvailable());
}

int QtSerialPort::BytesToWrite() {
  if (!port_.isOpen()) return 0;
  port_.waitForBytesWritten(0);
  return static_cast<int>(port_.bytesToWrite());
}

bool QtSerialPort::WaitForReadyRead(double timeout_seconds) {
  if (!port_.isOpen()) return false;
  const bool arrived =
      port_.waitForReadyRead(WaitMilliseconds(timeout_seconds));
  CloseOnFatalError();
  return arrived;
}

void QtSerialPort::Collect() {
  if (!port_.isOpen()) return;
  port_.waitForReadyRead(0);
  CloseOnFatalError();
}

bool QtSerialPort::HungUp() const {
#ifdef Q_OS_UNIX
  pollfd fd{static_cast<int>(port_.handle()), POLLIN, 0};
  return ::poll(&fd, 1, 0) == 1 && (fd.revents & (POLLHUP | POLLNVAL)) != 0;
#else
  return false;
#endif
}

void QtSerialPort::CloseOnFatalError() {
  const QSerialPort::SerialPortError error = port_.error();
  if (error == QSerialPort::NoError) return;
  // A device that hung up (adapter pulled, far end of a pty gone) reads
  // as end of file; Qt then reports a read error whose text is a stale
  // errno, and every wait returns at once, so the line is gone for good.
  // A wait that timed out looks too: only a silent line times out, so the
  // check costs nothing while the ECU answers.
  const bool hung_up =
      (error == QSerialPort::ReadError || error == QSerialPort::WriteError ||
       error == QSerialPort::ResourceError ||
       error == QSerialPort::TimeoutError) &&
      HungUp();
  if (hung_up || error == QSerialPort::ResourceError ||
      error == QSerialPort::DeviceNotFoundError ||
      error == QSerialPort::PermissionError) {
    // Kept for the lost-link message: the error is cleared below.
    lost_reason_ =
        hung_up ? "the device hung up" : port_.errorString().toStdString();
    if (lost_reason_.empty()) lost_reason_ = "the device went away";
    port_.close();
  }
  port_.clearError();
}

}  // namespace ecu
