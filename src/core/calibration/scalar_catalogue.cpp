// The scalar constants of the calibration: where each lives in the ECU, how
// it travels, how it is shown and what an editor accepts for it.

#include <array>

#include "core/calibration/catalogue.h"

// The entries name only the members that differ from the defaults; the
// others keep their default member initializers on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace ecu {
namespace {

constexpr uint8_t kBlockB = 'B';
constexpr uint8_t kBlockC = kConfigurationBlock;
constexpr uint8_t kBlockEgo = 208;
constexpr uint8_t kBlockTps = 212;
constexpr int kBlockBLength = 12;
constexpr int kBlockCLength = 21;
constexpr int kBlockEgoLength = 6;
constexpr int kBlockTpsLength = 5;

// Reply lengths of a single item: code, then one or two data bytes.
constexpr int kByteLength = 4;
constexpr int kWordLength = 5;

constexpr std::array<FieldRef, 4> Tool(std::string_view field) {
  return {{{kConfigurationWindow, field}}};
}

constexpr std::string_view kHotPrimingQuestion =
    "You have specified more than 1 hot priming pulse.\n"
    "This can cause excessive fuel to puddle in the cylinders.\n"
    "Are you certain that this is what you want to do?";
constexpr std::string_view kColdPrimingQuestion =
    "You have specified more than 1 cold priming pulse.\n"
    "This can cause excessive fuel to puddle in the cylinders.\n"
    "Are you certain that this is what you want to do?";

// Laid out by hand: several members to a line keep the entries readable.
// clang-format off
constexpr ScalarItem kScalars[] = {
    // Block "B": the injector program.
    {.key = "FUEL_B", .read_code = kBlockB,
     .block_offset = 3, .read_length = kBlockBLength, .write_code = 'o',
     .write_length = kWordLength, .width = 2, .scaling = Scaling::kFuelOffset,
     .format = "#0.000",
     .limits = {.raw_low = Refuse(0,
                                  "The value for the Fuel Offset is too "
                                  "negative, it will not be updated"),
                .raw_high = Refuse(49151,
                                   "The value for the Fuel Offset is "
                                   "too high, it will not be updated")},
     .demo_text = "-.525",
     .fields = {{{kFuelMapWindow, "ecu_pgm", 1},
                 {kDashboardWindow, "ecu_pgm", 1}}}},
    {.key = "FUEL_MX", .read_code = kBlockB,
     .block_offset = 5, .read_length = kBlockBLength, .write_code = 'm',
     .write_length = kWordLength, .width = 2, .scaling = Scaling::kMilliseconds,
     .format = "#0.000",
     .limits = {.raw_low = Refuse(0,
                                  "The value for the Fuel Scaler is "
                                  "negative, it will not be updated"),
                // A count beyond 16 bits would wrap into a small scaler.
                .raw_high = Refuse(65535,
                                   "The value for the Fuel Scaler is "
                                   "too high, it will not be updated")},
     .demo_text = "10.200",
     .fields = {{{kFuelMapWindow, "ecu_pgm", 0},
                 {kDashboardWindow, "ecu_pgm", 0}}}},
    {.key = "ACC_MINP", .read_code = kBlockB,
     .block_offset = 7, .read_length = kBlockBLength, .write_code = 'h',
     .write_length = kWordLength, .width = 2, .scaling = Scaling::kMilliseconds,
     .format = "#0.00", .limits = {.raw_high = Clamp(65535)},
     .demo_text = "1.25", .fields = Tool("accel_pw_min")},
    {.key = "ACC_MAXP", .read_code = kBlockB,
     .block_offset = 9, .read_length = kBlockBLength, .write_code = ' ',
     .write_length = kWordLength, .width = 2, .scaling = Scaling::kMilliseconds,
     .format = "#0.00", .limits = {.raw_high = Clamp(65535)},
     .demo_text = "9.50", .fields = Tool("accel_pw_max")},
    {.key = "BAT_COMP", .read_code = kBlockB,
     .block_offset = 11, .read_length = kBlockBLength, .write_code = 131,
     .write_length = kByteLength, .scaling = Scaling::kBatteryCompensation,
     .format = "##0.0", .limits = {.raw_high = LowByte()}, .demo_text = "60",
     .fields = Tool("bat_comp")},

    // Block "C": the engine configuration.
    {.key = "EGO_SECS", .read_code = kBlockC,
     .block_offset = 3, .read_length = kBlockCLength, .write_code = 'b',
     .write_length = kWordLength, .width = 2, .format = "###0",
     .limits = {.raw_low = Clamp(0)}, .demo_text = "180",
     .fields = Tool("ego_seconds")},
    {.key = "KILL_RPM", .read_code = kBlockC,
     .block_offset = 5, .read_length = kBlockCLength, .write_code = 'i',
     .write_length = kWordLength, .width = 2, .scaling = Scaling::kRpmFraction,
     .format = "####0",
     .limits = {.raw_low = Clamp(0),
                .raw_high = Clamp(1023,
                                  "The value of the fuel cut RPM was "
                                  "too high, it has been adjusted")},
     .demo_text = "6500", .fields = Tool("max_rpm")},
    {.key = "ACC_RATE", .read_code = kBlockC,
     .block_offset = 7, .read_length = kBlockCLength, .write_code = 'f',
     .write_length = kWordLength, .width = 2, .scaling = Scaling::kAccelRate,
     .format = "##0.00",
     .limits = {.raw_low = Clamp(1), .raw_high = Clamp(4095)},
     .demo_text = "9.2", .fields = Tool("accel_flt_rate")},
    {.key = "MIN_PRES", .read_code = kBlockC,
     .block_offset = 9, .read_length = kBlockCLength, .write_code = 'p',
     .write_length = kWordLength, .width = 2,
     .scaling = Scaling::kPressureFraction, .format = "##0.0",
     .limits = {.raw_low = Clamp(0), .raw_high = Clamp(1023)},
     .demo_text = "29.5", .fields = Tool("min_pressure")},
    {.key = "EGO_RATE", .read_code = kBlockC,
     .block_offset = 11, .read_length = kBlockCLength, .write_code = 'c',
     .write_length = kByteLength, .format = "##0",
     .limits = {.raw_low = Clamp(1), .raw_high = Clamp(127)}, .demo_text = "10",
     .fields = Tool("ego_rate")},
    {.key = "ACC_SEN", .read_code = kBlockC,
     .block_offset = 12, .read_length = kBlockCLength, .write_code = 'g',
     .write_length = kWordLength, .width = 2,
     .scaling = Scaling::kAccelSensitivity, .format = "#0.00",
     .limits = {.raw_high = Clamp(4095)}, .demo_text = "10.2",
     .fields = Tool("accel_senitivity")},
    // The echoes of the engine geometry only refresh the field: the holders
    // follow the block read alone.
    {.key = "PH_2_REC", .read_code = kBlockC,
     .block_offset = 14, .read_length = kBlockCLength, .write_code = 129,
     .write_length = kByteLength, .echo_sets_holder = false, .format = "###",
     .limits = {.raw_high = LowByte()}, .demo_text = "8",
     .fields = Tool("phases_till_recycle")},
    {.key = "TRGS_PH", .read_code = kBlockC,
     .block_offset = 15, .read_length = kBlockCLength, .write_code = 123,
     .write_length = kByteLength, .echo_sets_holder = false, .format = "###",
     .limits = {.raw_high = LowByte()}, .demo_text = "1",
     .fields = Tool("num_trigs_per_phase")},
    {.key = "FS_RPM", .read_code = kBlockC,
     .block_offset = 16, .read_length = kBlockCLength, .write_code = 125,
     .write_length = kWordLength, .width = 2, .format = "####0",
     .demo_text = "8000", .fields = Tool("full_scale_rpm")},
    {.key = "OPTIONS", .read_code = kBlockC,
     .block_offset = 18, .read_length = kBlockCLength, .write_code = '|',
     .write_length = kByteLength,
     .limits = {.raw_low = Clamp(0), .raw_high = Clamp(15)},
     .fields = {{{kConfigurationWindow, "TPS_mapped", kNoIndex, 0},
                 {kConfigurationWindow, "MAP_accel", kNoIndex, 1},
                 {kConfigurationWindow, "special_cfg", 0, 2},
                 {kConfigurationWindow, "special_cfg", 1, 3}}}},
    {.key = "TRGS_REV", .read_code = kBlockC,
     .block_offset = 19, .read_length = kBlockCLength, .write_code = 126,
     .write_length = kByteLength, .echo_sets_holder = false, .format = "###",
     .limits = {.raw_high = LowByte()}, .demo_text = "8",
     .fields = Tool("trigs_per_rev")},
    {.key = "MAP_TYPE", .read_code = kBlockC,
     .block_offset = 20, .read_length = kBlockCLength, .write_code = 130,
     .write_length = kByteLength, .echo_sets_holder = false,
     .scaling = Scaling::kMapType,
     .limits = {.raw_low = Clamp(0), .raw_high = Clamp(3)},
     .fields = Tool("map_type")},

    // Items with their own read.
    {.key = "TPS_RPM", .read_code = 'Z',
     .read_length = kWordLength, .write_code = 'z', .write_length = kWordLength,
     .width = 2, .scaling = Scaling::kRpmFraction, .format = "####0",
     .limits = {.value_low = Refuse(0,
                                    "The value for the TPS Map cut-in "
                                    "RPM is negative, it will not be "
                                    "updated"),
                .raw_low = Clamp(0),
                .raw_high = Refuse(1023,
                                   "The value for the TPS Map cut-in "
                                   "RPM was too high, it will not be "
                                   "updated")},
     .demo_text = "300", .fields = {{{kFuelMapWindow, "tps_rpm"}}}},
    {.key = "HOT_P_PW", .read_code = 'S',
     .read_length = kWordLength, .write_code = 's', .write_length = kWordLength,
     .width = 2, .scaling = Scaling::kMilliseconds, .format = "#0.000",
     .limits = {.raw_low = Clamp(0), .raw_high = Clamp(65000)},
     .demo_text = "4.000", .fields = Tool("priming_pw_hot")},
    {.key = "HOT_#P", .read_code = 'T',
     .read_length = kByteLength, .write_code = 't', .write_length = kByteLength,
     .scaling = Scaling::kPulseCount, .format = "#0",
     .limits = {.value_low = Clamp(0),
                .value_high = Ask(1, kHotPrimingQuestion)},
     .demo_text = "1", .fields = Tool("num_pulses_hot")},
    {.key = "CLD_P_PW", .read_code = 'U',
     .read_length = kWordLength, .write_code = 'u', .write_length = kWordLength,
     .width = 2, .scaling = Scaling::kMilliseconds, .format = "#0.000",
     .limits = {.raw_low = Clamp(0), .raw_high = Clamp(65000)},
     .demo_text = "10.000", .fields = Tool("priming_pw_cold")},
    {.key = "CLD_#P", .read_code = 'V',
     .read_length = kByteLength, .write_code = 'v', .write_length = kByteLength,
     .scaling = Scaling::kPulseCount, .format = "#0",
     .limits = {.value_low = Clamp(0),
                .value_high = Ask(1, kColdPrimingQuestion)},
     .demo_text = "1", .fields = Tool("num_pulses_cold")},
    // The setup file keeps the raw byte: -13 degrees is written 243.
    {.key = "TMP_THRS", .read_code = 'W',
     .read_length = kByteLength, .write_code = 'w', .write_length = kByteLength,
     .is_signed = true, .scaling = Scaling::kTempThreshold, .format = "##0",
     .limits = {.value_low = Clamp(-13), .value_high = Clamp(127)},
     .demo_text = "35", .fields = Tool("temp_threshold")},
    {.key = "EGO_GAIN", .read_code = '!',
     .read_length = kByteLength, .write_code = '?', .write_length = kByteLength,
     .scaling = Scaling::kGain64, .format = "#.000",
     .limits = {.raw_low = Clamp(0),
                .raw_high = Refuse(64,
                                   "The value for the Ego Proportional "
                                   "Gain is greater than 1.000, "
                                   "Parameter will not be updated")},
     .demo_text = "0.25", .fields = Tool("EGO_Prop_Gain")},
    {.key = "EGO_A_LO", .read_code = '%',
     .read_length = kByteLength, .write_code = '<', .write_length = kByteLength,
     .scaling = Scaling::kGain64, .format = "##.#00",
     .limits = {.value_low = ReplaceText(0.614, ".614",
                                         "The Minimum EGO Gain has been "
                                         "altered to within limits")},
     .demo_text = ".604", .fields = Tool("min_ego_gain")},
    {.key = "EGO_A_HI", .read_code = '^',
     .read_length = kByteLength, .write_code = '>', .write_length = kByteLength,
     .scaling = Scaling::kGain64, .format = "##.#00",
     .limits = {.value_high = ReplaceText(1.4, "1.4",
                                          "The Maximum EGO Gain has been "
                                          "altered to within limits")},
     .demo_text = "1.358", .fields = Tool("max_ego_gain")},
    {.key = "EGO_CUT", .read_code = '@',
     .read_length = kWordLength, .write_code = '=', .write_length = kWordLength,
     .width = 2, .scaling = Scaling::kMilliseconds, .format = "#0.00",
     .limits = {.raw_high = Clamp(65535)}, .demo_text = ".250",
     .fields = Tool("EGO_reset_pw")},
    {.key = "SUPP_SRC", .read_code = '[',
     .read_length = kByteLength, .write_code = ']', .write_length = kByteLength,
     .limits = {.raw_low = Clamp(0), .raw_high = Clamp(5)},
     .fields = {{{kSupplementaryWindow, "supp_source"},
                 {kSupplementaryWindow, "m_src"}}}},
    {.key = "IAC_CLOS", .read_code = 132,
     .read_length = kWordLength, .write_code = 133, .write_length = kWordLength,
     .width = 2, .limits = {.raw_high = Clamp(500)}, .demo_text = "200",
     .fields = Tool("iac_close_steps")},
    {.key = "IAC_OPEN", .read_code = 134,
     .read_length = kWordLength, .write_code = 135, .write_length = kWordLength,
     .width = 2, .limits = {.raw_high = Clamp(500)}, .demo_text = "25",
     .fields = Tool("iac_open_steps")},
    {.key = "IAC_TPSE", .read_code = 136,
     .read_length = kWordLength, .write_code = 137, .write_length = kWordLength,
     .width = 2, .scaling = Scaling::kIacPercent, .format = "##0.0",
     .limits = {.raw_high = Clamp(2048)}, .demo_text = "25",
     .fields = Tool("iac_enable_tps_val")},
    {.key = "IAC_TPSC", .read_code = 138,
     .read_length = kWordLength, .write_code = 139, .write_length = kWordLength,
     .width = 2, .scaling = Scaling::kIacPercent, .format = "##0.0",
     .limits = {.raw_high = Clamp(2048)}, .demo_text = "77",
     .fields = Tool("iac_close_tps_val")},
    {.key = "IAC_MAXR", .read_code = 140,
     .read_length = kWordLength, .write_code = 141, .write_length = kWordLength,
     .width = 2, .limits = {.raw_high = Clamp(1000)}, .demo_text = "450",
     .fields = Tool("iac_max_rate")},
    {.key = "IAC_ERRR", .read_code = 142,
     .read_length = kWordLength, .write_code = 143, .write_length = kWordLength,
     .width = 2, .limits = {.raw_high = Clamp(2000)}, .demo_text = "43",
     .fields = Tool("iac_error_rate")},
    {.key = "IAC_DEAD", .read_code = 144,
     .read_length = kByteLength, .write_code = 145, .write_length = kByteLength,
     .limits = {.raw_high = LowByte()}, .demo_text = "50",
     .fields = Tool("iac_deadband")},
    {.key = "IGN_FIRE", .read_code = 146,
     .read_length = kWordLength, .write_code = 147, .write_length = kWordLength,
     .width = 2, .scaling = Scaling::kDwellMs, .format = "#0.00",
     .limits = {.value_low = ReplaceText(0.05, "0.05"),
                .value_high = ReplaceText(2.0, "2.00")},
     .demo_text = ".100", .fields = Tool("min_firing_time")},
    {.key = "IGN_TDWL", .read_code = 148,
     .read_length = kWordLength, .write_code = 149, .write_length = kWordLength,
     .width = 2, .scaling = Scaling::kDwellMs, .format = "#0.00",
     .limits = {.value_low = ReplaceText(0.5, "0.50"),
                .value_high = ReplaceText(8.0, "8.00")},
     .demo_text = "4.00", .fields = Tool("target_dwell")},
    {.key = "IGN_PCNT", .read_code = 150,
     .read_length = kByteLength, .write_code = 151, .write_length = kByteLength,
     .scaling = Scaling::kDwellPercent, .format = "##0.0",
     .limits = {.value_low = ReplaceText(1, "1"),
                .value_high = ReplaceText(75, "75")},
     .demo_text = "22.3", .fields = Tool("min_dwell_pcnt")},
    // The setup file keeps the signed temperature: -5 degrees is written -5.
    {.key = "COOL_DEG", .read_code = 153,
     .read_length = kByteLength, .write_code = 154, .write_length = kByteLength,
     .is_signed = true, .holder_signed = true, .scaling = Scaling::kSignedByte,
     .limits = {.value_low = Refuse(-128,
                                    "The value for the Coolant "
                                    "Threshold is out of range, it "
                                    "will not be updated"),
                .value_high = Refuse(127,
                                     "The value for the Coolant "
                                     "Threshold is out of range, it "
                                     "will not be updated")},
     .demo_text = "93", .fields = {{{kSupplementaryWindow, "cool_thrsh"}}}},

    // Block 208: the EGO sensor.
    {.key = "EGO_FLGS", .read_code = kBlockEgo,
     .block_offset = 3, .read_length = kBlockEgoLength, .write_code = 209,
     .write_length = kByteLength,
     .limits = {.raw_low = Clamp(0), .raw_high = Clamp(1)},
     .fields = {{{kConfigurationWindow, "EGO_type", kNoIndex, 0}}}},
    {.key = "EGO_WBV0", .read_code = kBlockEgo,
     .block_offset = 4, .read_length = kBlockEgoLength, .write_code = 210,
     .write_length = kByteLength, .scaling = Scaling::kWideBandLambda,
     .format = "0.000",
     .limits = {.value_low = ReplaceText(0.5, "0.50"),
                .value_high = ReplaceText(2.0, "2.00")},
     .demo_text = "1.40", .fields = Tool("WB_EGO_0V_LAMBDA")},
    {.key = "EGO_WBV1", .read_code = kBlockEgo,
     .block_offset = 5, .read_length = kBlockEgoLength, .write_code = 211,
     .write_length = kByteLength, .scaling = Scaling::kWideBandLambda,
     .format = "0.000",
     .limits = {.value_low = ReplaceText(0.5, "0.50"),
                .value_high = ReplaceText(2.0, "2.00")},
     .demo_text = "0.70", .fields = Tool("WB_EGO_1V_LAMBDA")},

    // Block 212: the throttle end points (also captured by 215 and 216).
    {.key = "TPS_BASE", .read_code = kBlockTps,
     .block_offset = 3, .read_length = kBlockTpsLength, .write_code = 213,
     .write_length = kByteLength, .scaling = Scaling::kTpsPercent,
     .format = "##0.0",
     .limits = {.value_low = ReplaceText(0, "0"),
                .value_high = ReplaceText(100, "100")},
     .fields = Tool("tps_base_val")},
    {.key = "TPS_FS_V", .read_code = kBlockTps,
     .block_offset = 4, .read_length = kBlockTpsLength, .write_code = 214,
     .write_length = kByteLength, .scaling = Scaling::kTpsPercent,
     .format = "##0.0",
     .limits = {.value_low = ReplaceText(0, "0"),
                .value_high = ReplaceText(100, "100")},
     .fields = Tool("tps_fs_val")},

    {.key = "TPS_EGOD", .read_code = 227,
     .read_length = kByteLength, .write_code = 228, .write_length = kByteLength,
     .scaling = Scaling::kTpsOpenLoopPercent, .format = "##0.0",
     .limits = {.raw_high = Clamp(255)}, .fields = Tool("tps_open_loop_val")},
    {.key = "TPS_DECL", .read_code = 229,
     .read_length = kByteLength, .write_code = 230, .write_length = kByteLength,
     .scaling = Scaling::kTpsPercent, .format = "##0.0",
     .limits = {.value_low = ReplaceText(0, "0"),
                .value_high = ReplaceText(100, "100")},
     .fields = Tool("decel_tps_value")},
    {.key = "MNRPMEGO", .read_code = 231,
     .read_length = kWordLength, .write_code = 232, .write_length = kWordLength,
     .width = 2, .format = "####0", .fields = Tool("min_rpm_for_ego")},
    {.key = "MNRPMDCL", .read_code = 233,
     .read_length = kWordLength, .write_code = 234, .write_length = kWordLength,
     .width = 2, .format = "####0", .fields = Tool("min_rpm_for_decel")},
};
// clang-format on

constexpr ReadBlock kBlocks[] = {{kBlockB, kBlockBLength},
                                 {kBlockC, kBlockCLength},
                                 {kBlockEgo, kBlockEgoLength},
                                 {kBlockTps, kBlockTpsLength}};

}  // namespace

std::span<const ScalarItem> AllScalars() { return kScalars; }
std::span<const ReadBlock> AllBlocks() { return kBlocks; }

}  // namespace ecu
