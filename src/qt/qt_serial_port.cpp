#include "qt/qt_serial_port.h"

#include <QDeadlineTimer>

#include "core/platform/clock.h"

namespace ecu {

QtSerialPort::QtSerialPort() = default;

bool QtSerialPort::Open(const std::string& device) {
  if (port_.isOpen()) port_.close();
  port_.setPortName(QString::fromStdString(device));
  if (!port_.open(QIODevice::ReadWrite)) return false;
  const bool settings_ok = port_.setBaudRate(QSerialPort::Baud19200) &&
                           port_.setDataBits(QSerialPort::Data8) &&
                           port_.setParity(QSerialPort::NoParity) &&
                           port_.setStopBits(QSerialPort::OneStop) &&
                           port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!settings_ok) {
    port_.close();
    return false;
  }
  port_.clear();
  return true;
}

void QtSerialPort::Close() {
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
  const int ms = static_cast<int>(BoundedWait(timeout_seconds) * 1000.0 + 0.5);
  const bool arrived = port_.waitForReadyRead(ms < 1 ? 1 : ms);
  CloseOnFatalError();
  return arrived;
}

void QtSerialPort::Collect() {
  if (!port_.isOpen()) return;
  port_.waitForReadyRead(0);
  CloseOnFatalError();
}

void QtSerialPort::CloseOnFatalError() {
  const QSerialPort::SerialPortError error = port_.error();
  if (error == QSerialPort::ResourceError ||
      error == QSerialPort::DeviceNotFoundError ||
      error == QSerialPort::PermissionError) {
    port_.close();
  }
  if (error != QSerialPort::NoError) port_.clearError();
}

}  // namespace ecu
