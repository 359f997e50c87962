#ifndef ECU_CORE_CALIBRATION_SETUP_FILE_READER_H_
#define ECU_CORE_CALIBRATION_SETUP_FILE_READER_H_

#include <string>
#include <string_view>

#include "core/calibration/setup_file_run.h"
#include "core/link/ecu_link.h"

namespace ecu {

// Applies a setup file to the ECU line by line, in file order: each line is
// written at once with its item's write code, followed by a 5 ms pause. The
// file is read a line at a time, never held; an interrupted load leaves the
// ECU with the lines applied so far, and says how many they were.
class SetupFileReader {
 public:
  explicit SetupFileReader(EcuLink& link, SetupProgress progress = {},
                           SetupStop stop = {});

  // Progress is reported before each line (lines done, line count) and once
  // more at the end; never for an empty file.
  SetupFileReport load(const std::string& path);

 private:
  void Apply(const std::string& line, SetupFileReport* report);
  void Refuse(std::string_view reason, SetupFileReport* report);

  EcuLink& link_;
  SetupProgress progress_;
  SetupStop stop_;
};

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_SETUP_FILE_READER_H_
