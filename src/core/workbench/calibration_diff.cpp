#include "core/workbench/calibration_diff.h"

#include <cstdio>

#include "core/calibration/item_meanings.h"
#include "core/calibration/scaling.h"
#include "core/numbers/number_format.h"

namespace ecu {
namespace {

constexpr char kConstants[] = "Constants";
constexpr char kUnknown[] = "unknown";

// The number the ECU holds for a setup file's value: a signed byte is its
// byte either way (-13 and 243 are one threshold).
int32_t AsHeld(const ScalarItem& item, int32_t value) {
  if (!item.is_signed) return value;
  const int32_t byte = value & 0xFF;
  if (!item.holder_signed) return byte;
  return byte > 127 ? byte - 256 : byte;
}

std::optional<int32_t> AsHeld(const ScalarItem& item,
                              std::optional<int32_t> value) {
  if (!value) return value;
  return AsHeld(item, *value);
}

struct Scaled {
  Scaling scaling;
  std::string_view format;
  bool choice;
};

std::string Text(const Scaled& s, std::optional<int32_t> raw,
                 const LiveData& scale) {
  if (!raw) return "";
  return DisplayText(s.scaling, s.format, *raw, scale);
}

std::string SignedText(double delta, std::string_view format) {
  const std::string text =
      format.empty() ? FormatNumber(delta, "0") : FormatNumber(delta, format);
  return delta > 0 ? "+" + text : text;
}

// Fills values and difference; false when A and B agree.
bool Fill(ItemDifference& d, const Scaled& s, const LiveData& scale_a,
          const LiveData& scale_b) {
  if (d.raw_a == d.raw_b) return false;
  d.value_a = Text(s, d.raw_a, scale_a);
  d.value_b = Text(s, d.raw_b, scale_b);
  if (s.choice || !d.raw_a || !d.raw_b) return true;
  const std::optional<double> a = RawToValue(s.scaling, *d.raw_a, scale_a);
  const std::optional<double> b = RawToValue(s.scaling, *d.raw_b, scale_b);
  if (a && b) {
    d.delta = *b - *a;
    d.difference = SignedText(*d.delta, s.format);
  }
  return true;
}

std::string Side(const std::string& value, std::optional<int32_t> raw) {
  if (!raw) return kUnknown;
  const std::string number = std::to_string(*raw);
  return value.empty() ? "(" + number + ")" : value + " (" + number + ")";
}

}  // namespace

int CalibrationComparison::count() const {
  int n = 0;
  for (const DifferenceGroup& group : groups) {
    n += static_cast<int>(group.items.size());
  }
  return n;
}

CalibrationComparison CompareCalibrations(const CalibrationSnapshot& a,
                                          const CalibrationSnapshot& b,
                                          const LiveData& fallback) {
  const LiveData scale_a = a.Scale(fallback);
  const LiveData scale_b = b.Scale(fallback);
  CalibrationComparison result;

  DifferenceGroup constants;
  constants.name = kConstants;
  constants.meaning = "calibration constants";
  for (const ScalarItem& item : AllScalars()) {
    ++constants.item_count;
    ItemDifference d;
    d.name = item.key;
    d.scalar = &item;
    d.raw_a = AsHeld(item, a.scalar(item));
    d.raw_b = AsHeld(item, b.scalar(item));
    const Scaled s{item.scaling, item.format, MeaningOf(item.key).choice};
    if (Fill(d, s, scale_a, scale_b)) constants.items.push_back(std::move(d));
  }
  if (!constants.items.empty()) result.groups.push_back(std::move(constants));

  for (const TableItem& table : AllTables()) {
    const ItemMeaning meaning = MeaningOf(table.key);
    DifferenceGroup group;
    group.name = table.key;
    group.meaning = meaning.text;
    group.table = &table;
    group.item_count = table.count;
    const Scaled s{table.scaling, table.format, meaning.choice};
    for (int i = 0; i < table.count; ++i) {
      std::string name = TableFileField(table, i);
      name.pop_back();  // the "=" of the file's key field
      ItemDifference d;
      d.name = std::move(name);
      d.table = &table;
      d.index = i;
      d.raw_a = a.element(table, i);
      d.raw_b = b.element(table, i);
      if (Fill(d, s, scale_a, scale_b)) group.items.push_back(std::move(d));
    }
    if (!group.items.empty()) result.groups.push_back(std::move(group));
  }
  return result;
}

std::vector<std::string> ComparisonLines(const CalibrationComparison& result) {
  std::vector<std::string> lines;
  for (const DifferenceGroup& group : result.groups) {
    lines.push_back(group.name + ": " + std::string(group.meaning) + ", " +
                    std::to_string(group.items.size()) + " of " +
                    std::to_string(group.item_count) + " differ");
    for (const ItemDifference& d : group.items) {
      char line[256];
      std::snprintf(line, sizeof line, "  %-10s %18s %18s %10s", d.name.c_str(),
                    Side(d.value_a, d.raw_a).c_str(),
                    Side(d.value_b, d.raw_b).c_str(), d.difference.c_str());
      std::string text = line;
      if (d.scalar != nullptr) {
        text += "  " + std::string(MeaningOf(d.scalar->key).text);
      }
      while (!text.empty() && text.back() == ' ') text.pop_back();
      lines.push_back(std::move(text));
    }
  }
  return lines;
}

}  // namespace ecu
