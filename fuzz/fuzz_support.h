#ifndef ECU_FUZZ_FUZZ_SUPPORT_H_
#define ECU_FUZZ_FUZZ_SUPPORT_H_

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/link/live_data.h"

namespace ecu::fuzz {

// A property the input broke: said on stderr, then the run aborts, so
// libFuzzer keeps the input as a finding.
inline void Require(bool holds, const std::string& what) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", what.c_str());
  std::abort();
}

// A folder of this process's own for the files a target must hand over by
// name; made once, left for the system's temporary-file cleaning. In memory
// where there is a memory file system: rewriting a file on disk for every
// input made the kernel write it out each time.
inline const std::string& ScratchFolder() {
  static const std::string folder = [] {
    char in_memory[] = "/dev/shm/ecu-fuzz-XXXXXX";
    char on_disk[] = "/tmp/ecu-fuzz-XXXXXX";
    const char* made = mkdtemp(in_memory);
    if (made == nullptr) made = mkdtemp(on_disk);
    Require(made != nullptr, "cannot make a scratch folder");
    return std::string(made);
  }();
  return folder;
}

inline std::string WriteScratchFile(const std::string& name,
                                    std::string_view bytes) {
  const std::string path = ScratchFolder() + "/" + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  Require(file != nullptr, "cannot write " + path);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return path;
}

// Every live value a display or a log may take is a number.
inline void RequireFiniteLiveData(const LiveData& live) {
  const float values[] = {
      live.RPM,           live.MAP,           live.TPS,
      live.Gamma,         live.Lambda,        live.PW,
      live.CLT,           live.MAT,           live.BatteryVolts,
      live.EgoCorrection, live.MapEnrichment, live.AccelEnrichment,
      live.CltEnrichment, live.Baro,          live.AuxVolts,
      live.AuxValue,      live.FullScaleRpm,  live.MapSpan,
      live.MapOffset,     live.PreviousRpm};
  for (float v : values)
    Require(std::isfinite(v), "a live value is not finite");
}

}  // namespace ecu::fuzz

#endif  // ECU_FUZZ_FUZZ_SUPPORT_H_
