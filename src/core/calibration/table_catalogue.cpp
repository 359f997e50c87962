// The calibration tables: their cells in the ECU, how a cell is shown, what
// an editor accepts for it and its reset default.

#include "core/calibration/catalogue.h"

namespace ecu {
namespace {

constexpr EntryLimits kByteRange = {.raw_low = Clamp(0),
                                    .raw_high = Clamp(255)};

constexpr TableItem kTables[] = {
    {.key = "MAPM", .count = 256, .first_address = 0x100,
     .scaling = Scaling::kGain128, .format = "#.00",
     .limits = {.raw_low = Refuse(0, "A MAP Gain cell has been found that is "
                                     "negative, it will not be updated"),
                .raw_high = Refuse(255, "A MAP Gain cell has been found that "
                                        "is too high, it will not be "
                                        "updated")},
     .reset_text = "1.00", .demo_text = "1.00",
     .field = {kFuelMapWindow, "map_data"}},
    // Entry p is a bit mask: bit d set when injector driver d + 1 fires in
    // engine phase p + 1. Row p of check boxes is inj_ph_<p>.
    {.key = "PTBL", .count = 8, .cells = CellKind::kPhaseCell,
     .limits = kByteRange, .field = {kConfigurationWindow, "inj_ph"}},
    {.key = "EGOM", .count = 24, .first_address = 0x0D4,
     .scaling = Scaling::kEgoLambda, .format = "##.#00",
     .limits = {.value_low = Refuse(0.5, "The value for an EGO Setpoint cell "
                                         "was too low, it will not be "
                                         "updated."),
                .value_high = Refuse(1.6, "The value for an EGO Setpoint "
                                          "cell was too high, it will not be "
                                          "updated."),
                .raw_high = Clamp(255)},
     .reset_text = "1.000", .demo_text = "1.000",
     .field = {kCurveWindow, "ego_map"}},
    {.key = "SUPM", .count = 9, .cells = CellKind::kWordCell,
     .first_address = 0xA2, .scaling = Scaling::kDutyPercent,
     .format = "###0.00",
     .limits = {.raw_low = Clamp(0), .raw_high = Clamp(16383)},
     .reset_text = "0.000", .demo_text = "0.000",
     .field = {kSupplementaryWindow, "map_data"}},
    {.key = "TPSM", .count = 9, .cells = CellKind::kWordCell,
     .first_address = 0xB4, .scaling = Scaling::kMilliseconds,
     .format = "#0.000",
     .limits = {.raw_low = Clamp(0), .raw_high = Clamp(65535)},
     .demo_text = "0.000", .field = {kFuelMapWindow, "tps_pw"}},
    {.key = "TPSP", .count = 9, .first_address = 0x0C6,
     .scaling = Scaling::kPercent64, .format = "###.0",
     .limits = {.raw_low = Clamp(0), .raw_high = Clamp(64)},
     .demo_text = "00.0", .field = {kFuelMapWindow, "tps_percent"}},
    {.key = "CLTM", .count = 9, .first_address = 0x070,
     .scaling = Scaling::kGain64, .format = "##.#00", .limits = kByteRange,
     .reset_text = "1.000", .demo_text = "1.000",
     .field = {kCurveWindow, "clt_map"}},
    {.key = "MATM", .count = 9, .first_address = 0x080,
     .scaling = Scaling::kGain64, .format = "##.#00", .limits = kByteRange,
     .reset_text = "1.000", .demo_text = "1.000",
     .field = {kCurveWindow, "mat_data"}},
    {.key = "AUXM", .count = 9, .first_address = 0x090,
     .scaling = Scaling::kGain64, .format = "##.#00", .limits = kByteRange,
     .reset_text = "1.000", .demo_text = "1.000",
     .field = {kCurveWindow, "Pressure_Gain"}},
    {.key = "IGNM", .count = 9, .first_address = 0x200,
     .scaling = Scaling::kRetardDegrees, .format = "##.##0",
     .limits = kByteRange, .reset_text = "0.0", .demo_text = "1.000",
     .field = {kCurveWindow, "ign_map"}},
    {.key = "IGNR", .count = 9, .first_address = 0x210,
     .scaling = Scaling::kRetardDegrees, .format = "##.##0",
     .limits = kByteRange, .reset_text = "0.0", .demo_text = "1.000",
     .field = {kCurveWindow, "ign_rpm"}},
    {.key = "IGNT", .count = 9, .first_address = 0x240,
     .scaling = Scaling::kRetardDegrees, .format = "##.##0",
     .limits = kByteRange, .reset_text = "0.0", .demo_text = "1.000",
     .field = {kCurveWindow, "ign_mat"}},
    {.key = "BARG", .count = 9, .first_address = 0x220,
     .scaling = Scaling::kGain128, .format = "##.#00", .limits = kByteRange,
     .reset_text = "1.000", .demo_text = "1.000",
     .field = {kCurveWindow, "baro_gain"}},
    {.key = "IDLE", .count = 9, .first_address = 0x230,
     .scaling = Scaling::kIdleRpm, .format = "###0", .limits = kByteRange,
     .reset_text = "800", .demo_text = "1.000",
     .field = {kCurveWindow, "idle_rpm_map"}},
};

}  // namespace

std::span<const TableItem> AllTables() { return kTables; }

}  // namespace ecu
