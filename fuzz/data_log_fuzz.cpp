// Data logs of any bytes through the log reader, and what it reads through
// the map advisor: bad lines are reported by number and passed over, and
// whatever is read gives finite proposals the map can hold.

#include <cmath>
#include <string_view>

#include "core/advisor/data_log_reader.h"
#include "core/advisor/map_advisor.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecu;
  using namespace ecu::fuzz;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const DataLog log = ReadDataLog(text);
  Require(log.trouble.empty() || log.samples.empty(),
          "samples from a log that could not be read");
  int previous_line = 0;
  for (const LogSample& s : log.samples) {
    Require(s.line > previous_line, "samples out of file order");
    previous_line = s.line;
    for (double v : {s.time_s, s.rpm, s.lambda, s.clt_c, s.tps_percent,
                     s.map_kpa, s.mat_c, s.pw_ms, s.ego_correction}) {
      Require(std::isfinite(v), "a sample value is not finite");
    }
  }
  for (const LogProblem& p : log.problems) {
    Require(p.line > 1 && !p.reason.empty(),
            "a problem without line or reason");
  }
  if (log.samples.empty()) return 0;

  AdvisorInputs inputs;
  inputs.logs = {&log};
  for (int i = 0; i < kMapCellCount; ++i) {
    // A few cells unknown, the rest spread over the map's range.
    if (i % 37 != 5) inputs.map[static_cast<size_t>(i)] = (i % 255 + 1) / 128.0;
  }
  inputs.target.fixed = 1.0;
  const Advice advice = AdviseMap(inputs);
  for (const CellAdvice& cell : advice.cells) {
    if (!cell.changes()) continue;
    Require(cell.proposed && std::isfinite(*cell.proposed) &&
                *cell.proposed >= 0 && *cell.proposed <= 255 / 128.0,
            "a proposal the map cannot hold");
    Require(std::isfinite(cell.change_percent), "a change that is not finite");
  }
  const MapError error =
      MeasureMapError(inputs.logs, inputs.axes, inputs.target, inputs.settings);
  Require(std::isfinite(error.mean) && std::isfinite(error.worst) &&
              error.mean <= error.worst + 1e-9,
          "a map error that is not finite");
  return 0;
}
