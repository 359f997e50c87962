#ifndef ECU_CORE_UNITS_MIXTURE_UNITS_H_
#define ECU_CORE_UNITS_MIXTURE_UNITS_H_

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ecu {

// A fuel and its stoichiometric air/fuel ratio (the AFR of lambda 1).
struct Fuel {
  std::string_view name;
  double stoichiometric;
};
// Gasoline 14.7, E85 9.8, methanol 6.4.
std::span<const Fuel> Fuels();

// How the console shows and takes mixture: lambda, as the ECU, the setup
// files and the data log keep it, or air/fuel ratio for a fuel. Only what a
// tuner reads and types changes; every conversion goes through here.
struct MixtureUnits {
  static constexpr double kGasoline = 14.7;
  // Ratios a fuel can have; a typed one outside is refused.
  static constexpr double kLowestRatio = 2.0;
  static constexpr double kHighestRatio = 30.0;

  bool afr = false;
  double stoichiometric = kGasoline;

  double FromLambda(double lambda) const {
    return afr ? lambda * stoichiometric : lambda;
  }
  double ToLambda(double shown) const {
    return afr ? shown / stoichiometric : shown;
  }
  // A lambda as shown: in `lambda_pattern` for lambda, "#0.00" for AFR.
  std::string Text(double lambda, std::string_view lambda_pattern) const;
  // The unit's short name: "Lamda" (as the monitor has always called it) or
  // "AFR".
  std::string_view UnitName() const { return afr ? "AFR" : "Lamda"; }
  // "Lambda", or "AFR (E85, 9.8)" for menus and status.
  std::string Caption() const;

  friend bool operator==(const MixtureUnits&, const MixtureUnits&) = default;
};

// A typed stoichiometric ratio ("14.1"); nothing for text that is not a
// number from kLowestRatio to kHighestRatio.
std::optional<double> ReadStoichiometric(std::string_view text);

// units.cfg beside port.cfg: "lambda", or "afr" and the ratio ("afr 9.8").
// A missing or unreadable file is lambda, as the console has always shown.
inline constexpr char kUnitsConfigName[] = "units.cfg";
MixtureUnits ReadMixtureUnits(const std::string& folder);
bool WriteMixtureUnits(const std::string& folder, const MixtureUnits& units);

}  // namespace ecu

#endif  // ECU_CORE_UNITS_MIXTURE_UNITS_H_
