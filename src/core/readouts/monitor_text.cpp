#include "core/readouts/monitor_text.h"

#include <cmath>

#include "core/link/live_decoding.h"
#include "core/numbers/number_format.h"

namespace ecu {
namespace {

// No computed text contains a control character.
const char kStale[] = "\x01stale";

}  // namespace

void ClampForMonitor(LiveData& live) {
  if (live.RPM > 40000) live.RPM = 40000;
  if (live.TPS > 100) live.TPS = 100;
  if (live.CLT > 125) live.CLT = 125;
  if (live.Gamma > 2.0f || std::isnan(live.Gamma)) live.Gamma = 2.0f;
  if (live.Lambda < 0.5f) live.Lambda = 0.5f;
}

MonitorLines ComputeMonitorText(const LiveData& live,
                                const MixtureUnits& units) {
  MonitorLines t;
  t[0] = FormatNumber(live.RPM, "###0");
  t[1] = units.Text(live.Lambda, "#.000");
  t[2] = FormatNumber(live.CLT, "##0");
  t[3] = FormatNumber(live.TPS, "##0");
  t[4] = FormatNumber(live.MAP, "###.0");
  t[5] = FormatNumber(live.PW * 1000.0, "##.##0");
  t[6] = FormatNumber(live.EgoCorrection, "0.000");
  t[7] = FormatNumber(live.MapEnrichment, "0.000");
  t[8] = FormatNumber(live.AccelEnrichment, "##.000");
  t[9] = FormatNumber(live.CltEnrichment, "0.000");
  t[10] = FormatNumber(live.BatteryVolts, "#0.00");
  t[11] = FormatNumber(live.MAT, "##0");
  t[12] = FormatNumber(live.AuxVolts, "0.000");
  // t[13] is never computed.
  t[14] = FormatNumber(live.Baro, "###.0");
  t[15] = IacStateName(live.IacState);
  t[16] = live.IacError == 0 ? "OK" : "ERR" + GeneralText(live.IacError);
  t[17] = FormatNumber(live.IacPosition, "###0");
  t[18] = FormatNumber(live.IacRpmSetpoint, "###0");
  return t;
}

void MonitorText::Refresh(LiveData& live, const MixtureUnits& units) {
  ClampForMonitor(live);
  const MonitorLines text = ComputeMonitorText(live, units);
  for (int i = 0; i < kMonitorEntries; ++i) {
    const size_t k = static_cast<size_t>(i);
    if (text[k] != shown_[k]) {
      labels_.Emit(i, text[k]);
      shown_[k] = text[k];
    }
  }
}

void MonitorText::Invalidate() {
  for (int i = 0; i <= 13; ++i) shown_[static_cast<size_t>(i)] = kStale;
}

}  // namespace ecu
