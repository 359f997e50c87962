#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "core/numbers/checked_number.h"
#include "core/numbers/leading_number.h"
#include "core/numbers/number_format.h"
#include "core/numbers/rounding.h"
#include "core/readouts/dashboard_model.h"
#include "core/readouts/monitor_text.h"
#include "core/readouts/plotter_model.h"
#include "core/units/mixture_units.h"
#include "support/temp_folder.h"

namespace ecu {
namespace {

TEST(LeadingNumberTest, ReadsLenientlyNoneAsZeroAndRoundsWildValues) {
  const std::pair<const char*, double> texts[] = {
      {"12.5abc", 12.5},  {"  1 2 3", 123}, {"-1.5e2", -150}, {"- 4", -4},
      {".5", 0.5},        {"1.2.3", 1.2},   {"7e", 7},        {"2E-1x", 0.2},
      {"1 0000 ", 10000}, {"", 0},          {"abc", 0},       {"-", 0},
      {".", 0},           {"e5", 0}};
  for (const auto& [text, value] : texts) {
    EXPECT_DOUBLE_EQ(LeadingNumber(text), value) << text;
  }
  EXPECT_FALSE(StartsWithNumber(""));
  EXPECT_FALSE(StartsWithNumber("  x1"));
  EXPECT_TRUE(StartsWithNumber(" -.5"));
  // Rounding: halves of every scaling go to the even count in the
  // catalogue's tests; here values no count can hold never wrap.
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
  EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(RoundHalfEven(-1e300), std::numeric_limits<int64_t>::min());
  EXPECT_GT(RoundHalfEven(std::numeric_limits<double>::infinity()), 0);
}

// Patterns whose texts the monitor, the data log and the calibration fields
// show are checked there. -0.001 rounds to zero: no minus sign; singles
// (1.3f, 101.2f) show what they were meant to be.
TEST(FormatNumberTest, PatternsOfTheDisplays) {
  const std::tuple<double, const char*, const char*> cases[] = {
      {0.5, "#.00", ".50"},           {0, "#.00", ".00"},
      {3235.4, "####0", "3235"},      {8.1749, "#0.000", "8.175"},
      {9.9996, "#0.000", "10.000"},   {1.5, "##.#00", "1.500"},
      {12.34567, "##.##0", "12.346"}, {15.75, "##0.0", "15.8"},
      {0.37, ".##", ".37"},           {2.5, "0", "3"},
      {0.125, "0.00", "0.13"},        {1.005, "0.00", "1.01"},
      {65.535, "#0.000", "65.535"},   {-1.5, "##0.0", "-1.5"},
      {-0.25, "#.00", "-.25"},        {-0.001, "0.00", "0.00"},
      {1.3f, "0.000", "1.300"},       {101.2f, "###.0", "101.2"}};
  for (const auto& [value, pattern, text] : cases) {
    EXPECT_EQ(FormatNumber(value, pattern), text)
        << value << " with " << pattern;
  }
}

TEST(GeneralTextTest, LeadingSignPosition) {
  const std::pair<double, const char*> texts[] = {
      {12, " 12"},          {-2, "-2"},
      {0.5, " .5"},         {0, " 0"},
      {0.1, " .1"},         {-0.25, "-.25"},
      {0.1f, " .1"},        {12345678, " 1.234568E+07"},
      {0.0000001, " 1E-07"}};
  for (const auto& [value, text] : texts) {
    EXPECT_EQ(GeneralText(value), text) << value;
  }
}

TEST(CheckedNumberTest, TakesOnlyAWholeTextWithinItsBounds) {
  std::string problem;
  EXPECT_EQ(CheckedWholeNumber("1", 1, 255, &problem), 1);
  EXPECT_EQ(CheckedWholeNumber("255", 1, 255, &problem), 255);
  EXPECT_EQ(CheckedWholeNumber("-0", 0, 5, &problem), 0);
  EXPECT_EQ(CheckedWholeNumber("9223372036854775807", 0, INT64_MAX, &problem),
            INT64_MAX);
  for (const char* slip :
       {"256", "0", "+5", "5.0", "1e2", "9223372036854775808", "5 ", ""}) {
    EXPECT_FALSE(CheckedWholeNumber(slip, 1, 255, &problem)) << slip;
  }
  EXPECT_EQ(problem, "'' is not a whole number from 1 to 255");
  EXPECT_EQ(CheckedDecimalNumber("0.020", 0, 10, &problem), 0.02);
  EXPECT_EQ(CheckedDecimalNumber(".5", 0, 10, &problem), 0.5);
  EXPECT_EQ(CheckedDecimalNumber("1e1", 0, 10, &problem), 10);
  for (const char* slip :
       {"10.000001", "-0.1", "1e400", "inf", "nan", "0x1p3", "1,5"}) {
    EXPECT_FALSE(CheckedDecimalNumber(slip, 0, 10, &problem)) << slip;
  }
  EXPECT_EQ(problem, "'1,5' is not a number from 0 to 10");
}

const MixtureUnits kGasoline{true, 14.7};

TEST(MixtureUnitsTest, AfrIsLambdaTimesAFuelsRatioAndLambdaStaysAsItWas) {
  for (const Fuel& fuel : Fuels()) {
    const MixtureUnits afr{true, fuel.stoichiometric};
    EXPECT_NEAR(afr.ToLambda(afr.FromLambda(0.85)), 0.85, 1e-12);
    EXPECT_DOUBLE_EQ(afr.FromLambda(1.0), fuel.stoichiometric);
  }
  EXPECT_EQ(kGasoline.Text(1.0, "#.000"), "14.70");
  EXPECT_EQ(MixtureUnits{}.Text(1.0, "#.000"), "1.000");
  LiveData live;
  live.Lambda = 0.9f;
  EXPECT_EQ(ComputeMonitorText(live, MixtureUnits{true, 9.8})[1], "8.82");
  EXPECT_EQ(AirFuelCaption(MixtureUnits{}), "Air Fuel [0.6 to 1.4 lamda]");
  EXPECT_EQ(MixtureMarks(MixtureUnits{}),
            (std::array<std::string, 3>{"1.4", "= 1", "0.6"}));
  EXPECT_EQ(MixtureMarks(kGasoline),
            (std::array<std::string, 3>{"20.6", "= 14.7", "8.8"}));
  // A typed ratio is a number of a plausible fuel.
  EXPECT_EQ(ReadStoichiometric("14.1"), 14.1);
  EXPECT_EQ(ReadStoichiometric(" 6.45 "), 6.45);
  for (const char* bad : {"", "abc", "1.5", "31", "14.7x", "-9.8", "9,8"}) {
    EXPECT_FALSE(ReadStoichiometric(bad).has_value()) << bad;
  }
  const MixtureUnits typed{true, 14.1};
  EXPECT_EQ(typed.Caption(), "AFR (14.1)");
  EXPECT_EQ(MixtureMarks(typed)[1], "= 14.1");
  EXPECT_EQ((MixtureUnits{true, 9.8}).Caption(), "AFR (E85, 9.8)");
  EXPECT_NEAR(typed.ToLambda(12.69), 0.9, 1e-12);
}

TEST(MixtureUnitsTest, StoredBesidePortCfgAndLambdaWhenMissingOrUnreadable) {
  testing::TempFolder folder;
  EXPECT_EQ(ReadMixtureUnits(folder.path()), MixtureUnits{});
  ASSERT_TRUE(WriteMixtureUnits(folder.path(), MixtureUnits{true, 14.125}));
  EXPECT_EQ(folder.Read(kUnitsConfigName), "afr 14.125\n");
  EXPECT_EQ(ReadMixtureUnits(folder.path()), (MixtureUnits{true, 14.125}));
  ASSERT_TRUE(WriteMixtureUnits(folder.path(), MixtureUnits{}));
  EXPECT_EQ(ReadMixtureUnits(folder.path()), MixtureUnits{});
  folder.Write(kUnitsConfigName, "afr 200\n");
  EXPECT_EQ(ReadMixtureUnits(folder.path()), MixtureUnits{});
}

}  // namespace
}  // namespace ecu
