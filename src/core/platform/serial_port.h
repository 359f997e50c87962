#ifndef ECU_CORE_PLATFORM_SERIAL_PORT_H_
#define ECU_CORE_PLATFORM_SERIAL_PORT_H_

#include <string>
#include <string_view>

namespace ecu {

// Why the last Open() failed.
enum class OpenFailure {
  kNone,
  kMissing,       // no such device
  kBusy,          // in use by another program (or by this one)
  kNoPermission,  // the user may not open it
  kOther,
};
struct OpenError {
  OpenFailure kind = OpenFailure::kNone;
  std::string text;  // the driver's words
};

// The serial line to the ECU. Bytes travel as 8-bit characters in a
// std::string, one character per byte. The line settings are fixed:
// 19200 baud, 8 data bits, no parity, one stop bit, no handshaking.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Opens the device (a COM name or a path such as /dev/pts/3). False when
  // the port does not exist or is in use.
  virtual bool Open(const std::string& device) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // What went wrong with the last Open(); kNone after one that worked.
  virtual OpenError LastOpenError() const { return {}; }
  // Why the port closed itself (an adapter pulled, the far end of a pty
  // gone), in the driver's words; empty while it is open or after Close().
  virtual std::string LostReason() const = 0;

  virtual void Write(std::string_view bytes) = 0;
  // Returns and removes every byte received so far.
  virtual std::string ReadAll() = 0;
  virtual int BytesAvailable() = 0;
  virtual int BytesToWrite() = 0;

  // Blocks (without spinning) until new bytes arrive or the time-out passes.
  // Returns true when bytes arrived.
  virtual bool WaitForReadyRead(double timeout_seconds) = 0;
};

}  // namespace ecu

#endif  // ECU_CORE_PLATFORM_SERIAL_PORT_H_
