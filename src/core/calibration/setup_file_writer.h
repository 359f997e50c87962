#ifndef ECU_CORE_CALIBRATION_SETUP_FILE_WRITER_H_
#define ECU_CORE_CALIBRATION_SETUP_FILE_WRITER_H_

#include <string>

#include "core/calibration/calibration_image.h"
#include "core/calibration/setup_file_run.h"
#include "core/link/ecu_link.h"

namespace ecu {

// Saves the ECU's calibration as a setup file: refreshes the scalar holders
// with 31 reads, writes the 49 scalar lines from them, then reads every
// table element and writes its line. The file replaces an existing one only
// when every read was answered: the save stops at the first read left
// unanswered (nothing later can make the file whole) and leaves the old
// file, as does an interrupted or failed one.
class SetupFileWriter {
 public:
  // `image` is the one the link's reply table decodes into.
  SetupFileWriter(EcuLink& link, CalibrationImage& image,
                  SetupProgress progress = {}, SetupStop stop = {});

  // Progress counts 441 steps: the 31 reads, the scalar lines from SUPP_SRC
  // on, every table line, and putting the file in place.
  SetupFileReport save(const std::string& path);

  static constexpr int kProgressSteps = 441;

 private:
  void Step();
  bool StopRequested() const { return stop_ && stop_(); }
  void NotSaved(const std::string& reason);

  EcuLink& link_;
  CalibrationImage& image_;
  SetupProgress progress_;
  SetupStop stop_;
  int steps_done_ = 0;
};

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_SETUP_FILE_WRITER_H_
