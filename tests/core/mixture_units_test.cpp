#include "core/units/mixture_units.h"

#include <gtest/gtest.h>

#include "core/readouts/dashboard_model.h"
#include "core/readouts/monitor_text.h"
#include "core/readouts/plotter_model.h"
#include "support/temp_folder.h"

namespace ecu {
namespace {

const MixtureUnits kGasoline{true, 14.7};

TEST(MixtureUnitsTest, ConversionsRoundTripAndLambdaStaysAsDescribed) {
  for (const Fuel& fuel : Fuels()) {
    const MixtureUnits afr{true, fuel.stoichiometric};
    for (double lambda : {0.5, 0.85, 1.0, 1.2, 3.33}) {
      EXPECT_NEAR(afr.ToLambda(afr.FromLambda(lambda)), lambda, 1e-12);
    }
    EXPECT_DOUBLE_EQ(afr.FromLambda(1.0), fuel.stoichiometric);
  }
  EXPECT_EQ(Fuels().size(), 3u);
  EXPECT_DOUBLE_EQ(MixtureUnits{}.FromLambda(0.9), 0.9);
  EXPECT_EQ(kGasoline.Text(1.0, "#.000"), "14.70");
  EXPECT_EQ(MixtureUnits{}.Text(1.0, "#.000"), "1.000");

  LiveData live;
  live.Lambda = 0.9f;
  EXPECT_EQ(ComputeMonitorText(live)[1], ".900");
  EXPECT_EQ(ComputeMonitorText(live, MixtureUnits{true, 9.8})[1], "8.82");
  EXPECT_EQ(AirFuelCaption(MixtureUnits{}), "Air Fuel [0.6 to 1.4 lamda]");
  EXPECT_EQ(AirFuelCaption(kGasoline), "Air Fuel [8.8 to 20.6 AFR]");
  EXPECT_EQ(MixtureMarks(MixtureUnits{}),
            (std::array<std::string, 3>{"1.4", "= 1", "0.6"}));
  EXPECT_EQ(MixtureMarks(kGasoline),
            (std::array<std::string, 3>{"20.6", "= 14.7", "8.8"}));
}

TEST(MixtureUnitsTest, ATypedRatioIsANumberOfAPlausibleFuel) {
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
