#include "core/editors/configuration_layout.h"

#include "core/calibration/catalogue.h"

namespace ecu {

const std::vector<FrameLayout>& ConfigurationFrames() {
  static const std::vector<FrameLayout> frames = {
      {"frame_accel",
       "Acceleration Based Enrichments",
       0,
       {{"accel_senitivity", "Accel Sensitivity", "MS/V",
         "Enrichment pulse width added per volt of throttle sensor change"},
        {"accel_flt_rate", "Accel Rate", "V/Sec",
         "Rate of throttle sensor change, in volts per second, that the "
         "acceleration enrichment works from"},
        {"accel_pw_min", "Accel Min PW", "MS",
         "The smallest acceleration enrichment pulse width"},
        {"accel_pw_max", "Accel Max PW", "MS",
         "The largest acceleration enrichment pulse width"},
        {"EGO_reset_pw", "Accel EGO Reset", "MS",
         "An acceleration enrichment above this pulse width resets the EGO "
         "closed loop"}}},
      {"frame_ego",
       "Closed Loop [EGO] Parameters",
       0,
       {{"ego_rate", "EGO Loop Rate", "",
         "Rate of the EGO closed loop corrections (1 to 127)"},
        {"EGO_Prop_Gain", "EGO Prop. Gain", "",
         "Proportional gain of the EGO closed loop, at most 1.000"},
        {"ego_seconds", "EGO Loop Activation", "Sec",
         "Number of seconds after ignition on, till the ECU runs closed loop "
         "off the EGO. 0 = EGO Disable"},
        {"min_ego_gain", "Min EGO Gain", "",
         "The lowest gain the EGO closed loop may apply (at least .614)"},
        {"max_ego_gain", "Max EGO Gain", "",
         "The highest gain the EGO closed loop may apply (at most 1.4)"},
        {"tps_open_loop_val", "Open Loop if TPS >", "%",
         "The ECU runs open loop while the throttle is opened beyond this"},
        {"min_rpm_for_ego", "Min Closed Lp RPM", "RPM",
         "Closed loop is disabled below this engine speed"}}},
      {"frame_fuel_cut",
       "Fuel Cut-Off Parameters",
       0,
       {{"max_rpm", "Rev Limiter", "RPM",
         "Fuel is cut above this engine speed (at most the tach full scale)"},
        {"min_pressure", "Engine Decel", "kPa",
         "Fuel is cut on deceleration when the manifold pressure falls below "
         "this"},
        {"decel_tps_value", "Max TPS for Decel", "%",
         "The deceleration fuel cut acts only while the throttle is below "
         "this"},
        {"min_rpm_for_decel", "Min RPM for Decel", "RPM",
         "The deceleration fuel cut acts only above this engine speed"}}},
      {"frame_priming",
       "Controller Power Up Priming Parameters",
       1,
       {{"priming_pw_cold", "Cold Priming Duration", "MS",
         "Length of each priming pulse at power up below the cold/hot "
         "threshold"},
        {"num_pulses_cold", "Cold Number of Pulses", "",
         "Number of priming pulses at power up on a cold engine"},
        {"temp_threshold", "Cold/Hot Threshold", "\u00B0C",
         "Coolant temperature that separates cold from hot priming (-13 to "
         "127)"},
        {"priming_pw_hot", "Hot Priming Duration", "MS",
         "Length of each priming pulse at power up above the cold/hot "
         "threshold"},
        {"num_pulses_hot", "Hot Number of Pulses", "",
         "Number of priming pulses at power up on a hot engine"}}},
      {"frame_engine",
       "Engine Configuration",
       1,
       {{"num_trigs_per_phase", "Triggers per Inj Phase", "",
         "Trigger pulses before the engine phase advances"},
        {"phases_till_recycle", "Phases till recycle", "",
         "Engine phases before the sequence starts again at phase 1"},
        {"trigs_per_rev", "Triggers per 2 Revs. [720\u00B0]", "",
         "Trigger pulses in two crankshaft revolutions"},
        {"full_scale_rpm", "Tach Full Scale [RPM]", "",
         "Engine speed at the top of the tach scale; every RPM setting is "
         "held as a fraction of it"}},
       FrameExtra::kPhaseMatrix},
      {"frame_battery",
       "Battery Compensation",
       0,
       {{"bat_comp", "Inj. Offest Time", "usec/V",
         "Injector opening time added per volt of battery voltage"}}},
      {"frame_iac",
       "Idle Speed Control Parameters",
       2,
       {{"iac_close_steps", "On Init Close", "Steps",
         "Steps the IAC closes at power up (at most 500)"},
        {"iac_open_steps", "After Init Open", "Steps",
         "Steps the IAC opens after closing at power up (at most 500)"},
        {"iac_enable_tps_val", "Enable if TPS below", "%",
         "Idle speed control acts only while the throttle is below this"},
        {"iac_close_tps_val", "Close if TPS above", "%",
         "The IAC will be automatically closed to the init position when the "
         "TPS value is above this parameter (set to 101% to disable)"},
        {"iac_max_rate", "Max Step Rate", "P/Sec",
         "The highest IAC step rate (at most 1000)"},
        {"iac_error_rate", "Rate @ 1kRPM error", "P/Sec",
         "IAC step rate for an idle speed error of 1000 RPM (at most 2000)"},
        {"iac_deadband", "Control Deadband", "RPM",
         "Idle speed errors within this band are not corrected"}}},
      {"frame_coil",
       "Ignition Coil Setup",
       2,
       {{"target_dwell", "Target Dwell Time", "MS",
         "Coil charging time the ECU aims for (0.50 to 8.00)"},
        {"min_firing_time", "Minimum Firing Time", "MS",
         "Shortest spark time before the coil charges again (0.05 to 2.00)"},
        {"min_dwell_pcnt", "Minimum Dwell", "%",
         "Smallest share of the ignition cycle spent charging the coil (1 to "
         "75)"}}},
      {"frame_options", "Options", 2, {}, FrameExtra::kOptions},
      {"frame_ego_type",
       "EGO Type (0-1v)",
       2,
       {{"WB_EGO_0V_LAMBDA", "Lamda at 0.00v", "",
         "Lambda the wide band controller reports at 0.00 volts (0.50 to "
         "2.00)"},
        {"WB_EGO_1V_LAMBDA", "Lamda at 1.00v", "",
         "Lambda the wide band controller reports at 1.00 volts (0.50 to "
         "2.00)"}},
       FrameExtra::kEgoType},
      {"frame_tps",
       "TPS Setup",
       1,
       {{"tps_base_val", "TPS Closed Value", "%",
         "Throttle sensor reading with the throttle closed"},
        {"tps_fs_val", "TPS Opened Value", "%",
         "Throttle sensor reading with the throttle fully open"}},
       FrameExtra::kTpsCapture},
  };
  return frames;
}

std::string_view ConfigurationFieldLabel(std::string_view field) {
  for (const FrameLayout& frame : ConfigurationFrames()) {
    for (const FieldLine& line : frame.lines) {
      if (line.field == field) return line.label;
    }
  }
  return {};
}

const std::vector<SwitchLine>& ConfigurationSwitchLines() {
  static const char* kMapTip =
      "The manifold pressure sensor fitted to the engine";
  static const std::vector<SwitchLine> lines = {
      {"map_type", 0, "1.0 Bar MAP", kMapTip},
      {"map_type", 1, "2.5 Bar MAP", kMapTip},
      {"map_type", 2, "7.0 Bar Ga MAP", kMapTip},
      {"map_type", 3, "4.0 Bar MAP", kMapTip},
      {"TPS_mapped", kNoIndex, "TPS Mapped",
       "Load the fuel map by throttle position instead of manifold pressure"},
      {"MAP_accel", kNoIndex, "MAP Accel",
       "Take acceleration enrichment from manifold pressure changes"},
      {"special_cfg", 0, "Alt IGN", "Alternative ignition configuration"},
      {"special_cfg", 1, "Special2", "Special configuration 2"},
      {"EGO_type", 0, "Narrow", "A narrow band oxygen sensor"},
      {"EGO_type", 1, "Wide",
       "A wide band controller with a 0-1 volt output; set its lambda at both "
       "ends below"},
      {"calibrate_tps_val", 0, "Cal.",
       "Close the throttle then click here to automatically set the TPS "
       "Closed Value."},
      {"calibrate_tps_val", 1, "Cal.",
       "Fully open the throttle then click here to automatically set the TPS "
       "Opened Value."},
  };
  return lines;
}

}  // namespace ecu
