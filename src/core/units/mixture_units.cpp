#include "core/units/mixture_units.h"

#include <fstream>
#include <sstream>

#include "core/numbers/leading_number.h"
#include "core/numbers/number_format.h"
#include "core/text_file.h"

namespace ecu {
namespace {

constexpr Fuel kFuels[] = {{"Gasoline", 14.7}, {"E85", 9.8}, {"Methanol", 6.4}};

std::string RatioText(double ratio) { return FormatNumber(ratio, "#0.0##"); }

}  // namespace

std::span<const Fuel> Fuels() { return kFuels; }

std::string MixtureUnits::Text(double lambda,
                               std::string_view lambda_pattern) const {
  return afr ? FormatNumber(FromLambda(lambda), "#0.00")
             : FormatNumber(lambda, lambda_pattern);
}

std::string MixtureUnits::Caption() const {
  if (!afr) return "Lambda";
  for (const Fuel& fuel : kFuels) {
    if (fuel.stoichiometric == stoichiometric) {
      return "AFR (" + std::string(fuel.name) + ", " +
             RatioText(stoichiometric) + ")";
    }
  }
  return "AFR (" + RatioText(stoichiometric) + ")";
}

std::optional<double> ReadStoichiometric(std::string_view text) {
  // The whole text must be the number: "14.7x" is a typing slip.
  const size_t end = text.find_last_not_of(" \t");
  if (end == std::string_view::npos) return std::nullopt;
  text = text.substr(0, end + 1);
  if (!StartsWithNumber(text) ||
      text.find_first_not_of(" \t0123456789.") != std::string_view::npos) {
    return std::nullopt;
  }
  const double ratio = LeadingNumber(text);
  if (ratio < MixtureUnits::kLowestRatio ||
      ratio > MixtureUnits::kHighestRatio) {
    return std::nullopt;
  }
  return ratio;
}

MixtureUnits ReadMixtureUnits(const std::string& folder) {
  MixtureUnits units;
  std::ifstream in(folder + "/" + kUnitsConfigName);
  std::string kind;
  std::string ratio;
  if (!(in >> kind) || kind != "afr") return units;
  in >> ratio;
  if (const std::optional<double> value = ReadStoichiometric(ratio)) {
    units.afr = true;
    units.stoichiometric = *value;
  }
  return units;
}

bool WriteMixtureUnits(const std::string& folder, const MixtureUnits& units) {
  const std::string text = units.afr
                               ? "afr " + RatioText(units.stoichiometric) + "\n"
                               : std::string("lambda\n");
  return WriteFileReplacing(folder + "/" + kUnitsConfigName, text);
}

}  // namespace ecu
