#include "core/calibration/setup_file_format.h"

#include "core/numbers/leading_number.h"
#include "core/numbers/rounding.h"

namespace ecu {
namespace {

constexpr std::string_view kScalarOrder[] = {
    "ACC_SEN",  "ACC_RATE", "ACC_MINP", "ACC_MAXP", "EGO_CUT",  "MIN_PRES",
    "PH_2_REC", "TRGS_PH",  "TRGS_REV", "BAT_COMP", "FS_RPM",   "KILL_RPM",
    "HOT_P_PW", "HOT_#P",   "CLD_P_PW", "CLD_#P",   "TMP_THRS", "EGO_RATE",
    "EGO_GAIN", "EGO_SECS", "EGO_A_LO", "EGO_A_HI", "OPTIONS",  "MAP_TYPE",
    "FUEL_B",   "FUEL_MX",  "TPS_RPM",  "SUPP_SRC", "COOL_DEG", "BAT_COMP",
    "IAC_CLOS", "IAC_OPEN", "IAC_TPSE", "IAC_TPSC", "IAC_MAXR", "IAC_ERRR",
    "IAC_DEAD", "IGN_FIRE", "IGN_TDWL", "IGN_PCNT", "EGO_FLGS", "EGO_WBV0",
    "EGO_WBV1", "TPS_BASE", "TPS_FS_V", "TPS_EGOD", "TPS_DECL", "MNRPMEGO",
    "MNRPMDCL"};

constexpr size_t kKeyLength = 8;
constexpr size_t kTableKeyLength = 4;
constexpr size_t kIndexColumn = 5;
constexpr size_t kIndexWidth = 3;
constexpr size_t kValueColumn = 10;

std::string_view TrimTrailingSpaces(std::string_view text) {
  const size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view()
                                       : text.substr(0, end + 1);
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool Fits(int64_t value, ItemRange range) {
  return value >= range.min && value <= range.max;
}

SetupLineRequest Send(std::string command, int reply_length) {
  return {SetupLineRequest::Action::kSend, std::move(command), reply_length};
}

SetupLineRequest Skip() {
  SetupLineRequest request;
  request.action = SetupLineRequest::Action::kSkip;
  return request;
}

SetupLineRequest TableWrite(const TableItem& table, int64_t index,
                            int64_t value) {
  if (index < 0 || index >= table.count || !Fits(value, RangeOf(table))) {
    return {};
  }
  return Send(
      CellWriteCommand(table, static_cast<int>(index), static_cast<int>(value)),
      CellReplyLength(table));
}

SetupLineRequest ScalarWrite(const ScalarItem& item, int64_t value) {
  if (!Fits(value, RangeOf(item))) return {};
  return Send(ScalarWriteCommand(item, static_cast<int>(value)),
              item.write_length);
}

}  // namespace

std::span<const std::string_view> SetupScalarOrder() { return kScalarOrder; }

std::string ScalarLine(const ScalarItem& item, int32_t value) {
  return std::string(item.file_field) + std::to_string(value);
}

std::string TableLine(const TableItem& table, int index, int32_t value) {
  return TableFileField(table, index) + std::to_string(value);
}

SetupLineRequest ParseSetupLine(std::string_view line) {
  if (IsBlank(line)) return Skip();
  const std::string padded = std::string(line) + "     ";
  const std::string_view text = padded;
  std::string_view key = TrimTrailingSpaces(text.substr(0, kKeyLength));
  const std::string_view value_text =
      text.size() > kValueColumn ? text.substr(kValueColumn) : "";
  const int64_t value = RoundHalfEven(LeadingNumber(value_text));

  if (line.find('[') != std::string_view::npos) {
    key = text.substr(0, kTableKeyLength);
    if (const TableItem* table = FindTable(key)) {
      const int64_t index =
          RoundHalfEven(LeadingNumber(text.substr(kIndexColumn, kIndexWidth)));
      return TableWrite(*table, index, value);
    }
  }
  if (const ScalarItem* item = FindScalar(key)) {
    return ScalarWrite(*item, value);
  }
  if (FindTable(key) != nullptr) return Skip();
  return {};
}

}  // namespace ecu
