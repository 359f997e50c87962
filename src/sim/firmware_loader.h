#ifndef ECU_SIM_FIRMWARE_LOADER_H_
#define ECU_SIM_FIRMWARE_LOADER_H_

#include <functional>
#include <string>
#include <string_view>

namespace ecu::sim {

// The ECU's firmware loader, which owns the line once the controller has
// been stopped for re-flashing. It answers "q" with a short banner ending in
// "B", takes Motorola S-records as text (run together, or one a line), and
// checks each record's type, byte count and checksum the moment it is
// complete; a bad record or a stray character gets "E", after which the
// loader ignores everything until it is asked "q" again. A good termination
// record (S7, S8, S9) completes the flash: the loader then passes over line
// ends and hands the line back at the first other byte, when the controller
// restarts.
class FirmwareLoader {
 public:
  // Takes bytes from the console and appends what the loader prints to
  // `reply`. Returns how many bytes it took: all of them, unless the flash
  // has completed and a byte for the restarted controller came.
  size_t Receive(std::string_view bytes, std::string* reply);
  // Back to a loader that has seen nothing (the received bytes are kept).
  void Restart();

  bool completed() const { return state_ == State::kCompleted; }
  // Every byte the loader has taken, as it came off the line.
  const std::string& received() const { return received_; }
  int good_records() const { return good_records_; }
  int bad_records() const { return bad_records_; }

  // Sees every byte the loader takes, as it takes it.
  void set_log(std::function<void(std::string_view)> log) {
    log_ = std::move(log);
  }

 private:
  enum class State { kBetweenRecords, kInRecord, kFailed, kCompleted };

  // One byte; false when it is not the loader's.
  bool Take(char c, std::string* reply);
  void TakeRecordByte(char c, std::string* reply);
  void FinishRecord(std::string* reply);
  void Fail(const std::string& why, std::string* reply);

  State state_ = State::kBetweenRecords;
  std::string record_;  // the record so far, from its "S"
  int good_records_ = 0;
  int bad_records_ = 0;
  std::string received_;
  std::function<void(std::string_view)> log_;
};

}  // namespace ecu::sim

#endif  // ECU_SIM_FIRMWARE_LOADER_H_
