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

}  // namespace

std::span<const std::string_view> SetupScalarOrder() { return kScalarOrder; }

std::string ScalarLine(const ScalarItem& item, int32_t value) {
  return ScalarFileField(item) + std::to_string(value);
}

std::string SetupFileTextOf(
    const std::function<int32_t(const ScalarItem&)>& scalar,
    const std::function<int32_t(const TableItem&, int index)>& element) {
  std::string text;
  for (std::string_view key : SetupScalarOrder()) {
    const ScalarItem& item = *FindScalar(key);
    text += ScalarLine(item, scalar(item));
    text += kSetupLineEnd;
  }
  for (const TableItem& table : AllTables()) {
    for (int i = 0; i < table.count; ++i) {
      text += TableLine(table, i, element(table, i));
      text += kSetupLineEnd;
    }
  }
  return text;
}

std::string TableLine(const TableItem& table, int index, int32_t value) {
  return TableFileField(table, index) + std::to_string(value);
}

SetupLine ReadSetupLine(std::string_view line) {
  SetupLine read;
  if (IsBlank(line)) {
    read.kind = SetupLine::Kind::kBlank;
    return read;
  }
  const std::string padded = std::string(line) + "     ";
  const std::string_view text = padded;
  std::string_view key = TrimTrailingSpaces(text.substr(0, kKeyLength));
  const std::string_view value_text =
      text.size() > kValueColumn ? text.substr(kValueColumn) : "";
  const bool has_value = StartsWithNumber(value_text);
  const int64_t value = RoundHalfEven(LeadingNumber(value_text));

  if (line.find('[') != std::string_view::npos) {
    key = text.substr(0, kTableKeyLength);
    if (const TableItem* table = FindTable(key)) {
      const int64_t index =
          RoundHalfEven(LeadingNumber(text.substr(kIndexColumn, kIndexWidth)));
      read.table = table;
      if (index < 0 || index >= table->count) {
        read.kind = SetupLine::Kind::kIndexOutside;
      } else if (!has_value) {
        read.kind = SetupLine::Kind::kNoValue;
      } else if (!Fits(value, RangeOf(*table))) {
        read.kind = SetupLine::Kind::kValueTooWide;
      } else {
        read.kind = SetupLine::Kind::kTableElement;
        read.index = static_cast<int>(index);
        read.value = static_cast<int32_t>(value);
      }
      return read;
    }
  }
  if (const ScalarItem* item = FindScalar(key)) {
    read.scalar = item;
    if (!has_value) {
      read.kind = SetupLine::Kind::kNoValue;
    } else if (Fits(value, RangeOf(*item))) {
      read.kind = SetupLine::Kind::kScalar;
      read.value = static_cast<int32_t>(value);
    } else {
      read.kind = SetupLine::Kind::kValueTooWide;
    }
    return read;
  }
  read.kind = FindTable(key) != nullptr ? SetupLine::Kind::kTableKeyAlone
                                        : SetupLine::Kind::kUnknownKey;
  return read;
}

std::string_view SetupLineProblem(SetupLine::Kind kind) {
  switch (kind) {
    case SetupLine::Kind::kUnknownKey:
      return "unknown key";
    case SetupLine::Kind::kIndexOutside:
      return "index outside the table";
    case SetupLine::Kind::kValueTooWide:
      return "value does not fit the item";
    case SetupLine::Kind::kNoValue:
      return "no number in the value field";
    default:
      break;
  }
  return "";
}

SetupLineRequest ParseSetupLine(std::string_view line) {
  const SetupLine read = ReadSetupLine(line);
  SetupLineRequest request;
  switch (read.kind) {
    case SetupLine::Kind::kScalar:
      request.action = SetupLineRequest::Action::kSend;
      request.command = ScalarWriteCommand(*read.scalar, read.value);
      break;
    case SetupLine::Kind::kTableElement:
      request.action = SetupLineRequest::Action::kSend;
      request.command = CellWriteCommand(*read.table, read.index, read.value);
      break;
    case SetupLine::Kind::kBlank:
    case SetupLine::Kind::kTableKeyAlone:
      request.action = SetupLineRequest::Action::kSkip;
      break;
    default:
      request.problem = SetupLineProblem(read.kind);
      break;
  }
  return request;
}

}  // namespace ecu
