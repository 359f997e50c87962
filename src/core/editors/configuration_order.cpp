#include "core/editors/configuration_order.h"

namespace ecu {
namespace {

// The blocks first, then the constants with a read of their own.
constexpr uint8_t kFillCodes[] = {
    'C', 'B', '@', '!', '%', '^', 'U', 'V', 'S', 'T', 'W', kReadPhaseTable,
    132, 134, 136, 138, 140, 142, 144, 146, 148, 150, 208, 212,
    229, 227, 231, 233,
};

constexpr UpdateStep Field(std::string_view name, double pause = 0.2) {
  return {StepKind::kField, name, kNoIndex, pause};
}

// The priming and wide-band fields, the EGO group and the open-loop
// throttle go out back to back; the phase rows pause after each row.
constexpr UpdateStep kUpdateSteps[] = {
    Field("accel_senitivity"),
    Field("accel_flt_rate"),
    Field("accel_pw_min"),
    Field("accel_pw_max"),
    Field("EGO_reset_pw"),
    Field("ego_rate"),
    Field("EGO_Prop_Gain"),
    Field("ego_seconds"),
    Field("min_ego_gain"),
    Field("max_ego_gain"),
    Field("max_rpm"),
    {StepKind::kMapType, "map_type"},
    Field("min_pressure"),
    Field("priming_pw_hot"),
    Field("priming_pw_cold"),
    Field("num_pulses_hot"),
    Field("num_pulses_cold"),
    Field("temp_threshold"),
    {StepKind::kOptionsBox, "TPS_mapped"},
    {StepKind::kOptionsBox, "MAP_accel"},
    {StepKind::kOptionsBox, "special_cfg", 0},
    {StepKind::kOptionsBox, "special_cfg", 1},
    Field("full_scale_rpm"),
    Field("phases_till_recycle"),
    Field("num_trigs_per_phase"),
    Field("trigs_per_rev"),
    {StepKind::kPhaseRows, "inj_ph", kNoIndex, 0},
    Field("bat_comp"),
    Field("iac_close_steps"),
    Field("iac_open_steps"),
    Field("iac_enable_tps_val"),
    Field("iac_close_tps_val"),
    Field("iac_max_rate"),
    Field("iac_error_rate"),
    Field("iac_deadband"),
    Field("min_firing_time"),
    Field("target_dwell"),
    Field("min_dwell_pcnt"),
    {StepKind::kEgoType, "EGO_type", kNoIndex, 0},
    Field("WB_EGO_0V_LAMBDA", 0),
    Field("WB_EGO_1V_LAMBDA", 0),
    Field("tps_base_val"),
    Field("tps_fs_val"),
    Field("tps_open_loop_val", 0),
    Field("decel_tps_value"),
    Field("min_rpm_for_decel"),
    Field("min_rpm_for_ego"),
};

}  // namespace

std::span<const uint8_t> ConfigurationFillReads() { return kFillCodes; }

std::span<const UpdateStep> ConfigurationUpdateSteps() { return kUpdateSteps; }

}  // namespace ecu
