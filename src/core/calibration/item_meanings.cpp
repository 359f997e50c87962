#include "core/calibration/item_meanings.h"

namespace ecu {
namespace {

constexpr ItemMeaning kMeanings[] = {
    {"ACC_SEN", "acceleration enrichment sensitivity (ms/V)"},
    {"ACC_RATE", "acceleration enrichment rate (V/s)"},
    {"ACC_MINP", "minimum acceleration enrichment pulse (ms)"},
    {"ACC_MAXP", "maximum acceleration enrichment pulse (ms)"},
    {"EGO_CUT", "acceleration enrichment that resets the EGO loop (ms)"},
    {"MIN_PRES", "fuel cut below this manifold pressure (kPa)"},
    {"PH_2_REC", "engine phases before the sequence recycles"},
    {"TRGS_PH", "triggers per injection phase"},
    {"TRGS_REV", "triggers per two revolutions"},
    {"BAT_COMP", "injector battery compensation (us/V)"},
    {"FS_RPM", "tachometer full scale (RPM)"},
    {"KILL_RPM", "rev limiter (RPM)"},
    {"HOT_P_PW", "hot priming pulse width (ms)"},
    {"HOT_#P", "number of hot priming pulses"},
    {"CLD_P_PW", "cold priming pulse width (ms)"},
    {"CLD_#P", "number of cold priming pulses"},
    {"TMP_THRS", "cold/hot priming threshold (°C)"},
    {"EGO_RATE", "EGO loop rate"},
    {"EGO_GAIN", "EGO proportional gain"},
    {"EGO_SECS", "seconds before closed loop, 0 disables EGO (s)"},
    {"EGO_A_LO", "minimum EGO gain"},
    {"EGO_A_HI", "maximum EGO gain"},
    {"OPTIONS", "options: TPS mapped, MAP accel, Alt IGN, Special2 (bits)",
     true},
    {"MAP_TYPE", "MAP sensor type", true},
    {"FUEL_B", "fuel offset (ms)"},
    {"FUEL_MX", "fuel scaler (ms)"},
    {"TPS_RPM", "TPS map cut-in speed (RPM)"},
    {"SUPP_SRC", "supplementary driver input", true},
    {"COOL_DEG", "supplementary driver coolant threshold (°C)"},
    {"IAC_CLOS", "IAC steps closed at power-up"},
    {"IAC_OPEN", "IAC steps opened after closing"},
    {"IAC_TPSE", "idle control only below this throttle (%)"},
    {"IAC_TPSC", "IAC re-closes above this throttle (%)"},
    {"IAC_MAXR", "highest IAC step rate (steps/s)"},
    {"IAC_ERRR", "IAC step rate at 1000 RPM idle error (steps/s)"},
    {"IAC_DEAD", "idle speed deadband (RPM)"},
    {"IGN_FIRE", "minimum coil firing time (ms)"},
    {"IGN_TDWL", "target dwell time (ms)"},
    {"IGN_PCNT", "minimum dwell (%)"},
    {"EGO_FLGS", "EGO sensor type: narrow 0, wide 1", true},
    {"EGO_WBV0", "wide-band lambda at 0 V"},
    {"EGO_WBV1", "wide-band lambda at 1 V"},
    {"TPS_BASE", "TPS closed value (%)"},
    {"TPS_FS_V", "TPS opened value (%)"},
    {"TPS_EGOD", "open loop above this throttle (%)"},
    {"TPS_DECL", "deceleration fuel cut only below this throttle (%)"},
    {"MNRPMEGO", "closed loop only above this speed (RPM)"},
    {"MNRPMDCL", "deceleration fuel cut only above this speed (RPM)"},
    {"MAPM", "fuel map gain"},
    {"PTBL", "injector phase table (driver bits)", true},
    {"EGOM", "EGO lambda set point"},
    {"SUPM", "supplementary driver duty (%)"},
    {"TPSM", "TPS pulse width (ms)"},
    {"TPSP", "TPS mix (%)"},
    {"CLTM", "coolant enrichment gain"},
    {"MATM", "air temperature enrichment gain"},
    {"AUXM", "auxiliary input enrichment gain"},
    {"IGNM", "ignition retard over MAP (degrees)"},
    {"IGNR", "ignition retard over RPM (degrees)"},
    {"IGNT", "ignition retard over air temperature (degrees)"},
    {"BARG", "barometric fuel gain"},
    {"IDLE", "idle speed set point over coolant (RPM)"},
};

}  // namespace

ItemMeaning MeaningOf(std::string_view key) {
  for (const ItemMeaning& meaning : kMeanings) {
    if (meaning.key == key) return meaning;
  }
  return {key, ""};
}

}  // namespace ecu
