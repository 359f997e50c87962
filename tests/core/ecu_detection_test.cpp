#include "core/link/ecu_detection.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/link/frame.h"
#include "sim/virtual_ecu.h"
#include "support/fake_clock.h"
#include "support/virtual_line_port.h"

namespace ecu {
namespace {

using testing::LineChunk;
using Result = PortProbe::Result;

sim::SimOptions MakeOptions() {
  sim::SimOptions options;
  options.revision = 10204;
  options.serial_number = 70001;
  return options;
}

// Ports behind one serial port object: the ECU on /dev/ecu, a silent line,
// a modem that answers everything with "OK", a busy and a forbidden port.
class DetectionTest : public ::testing::Test {
 protected:
  DetectionTest()
      : port_(clock_, [this](std::string_view bytes, double now) {
          std::vector<LineChunk> out;
          if (port_.device() == "/dev/ecu") {
            for (const sim::Transmission& t : ecu_.Receive(bytes, now)) {
              out.push_back({t.bytes, t.delay_s});
            }
          } else if (port_.device() == "/dev/modem") {
            out.push_back({"\r\nOK\r\n", 0.01});
          }
          return out;
        }) {
    port_.set_open_failure("/dev/busy", {OpenFailure::kBusy, "locked"});
    port_.set_open_failure("/dev/locked-out",
                           {OpenFailure::kNoPermission, "Permission denied"});
  }

  Detection Detect(const std::vector<std::string>& devices,
                   bool stop_at_first = true) {
    DetectionOptions options;
    options.stop_at_first = stop_at_first;
    return DetectEcu(port_, clock_, devices, options);
  }

  testing::FakeClock clock_{36000.0};
  sim::VirtualEcu ecu_{MakeOptions()};
  testing::VirtualLinePort port_;
};

TEST_F(DetectionTest, TakesTheFirstWellFormedAnswerAndNamesTheRest) {
  const double start = clock_.now();
  const Detection d =
      Detect({"/dev/busy", "/dev/silent", "/dev/modem", "/dev/locked-out",
              "/dev/ecu", "/dev/never-tried"});
  ASSERT_EQ(d.probes.size(), 5u);
  EXPECT_EQ(d.probes[0].result, Result::kBusy);
  EXPECT_EQ(d.probes[1].result, Result::kSilent);
  EXPECT_EQ(d.probes[2].result, Result::kNotAnEcu);
  EXPECT_EQ(d.probes[3].result, Result::kNoPermission);
  ASSERT_NE(d.found(), nullptr);
  EXPECT_EQ(d.found()->device, "/dev/ecu");
  EXPECT_EQ(d.found()->revision, 10204);
  EXPECT_EQ(d.found()->serial, 70001);
  EXPECT_FALSE(port_.IsOpen());
  // Only the silent port waits out its half second.
  EXPECT_LT(clock_.now() - start, 0.5 + 0.2);

  EXPECT_EQ(ProbeText(d.probes[0], 0.5), "in use by another program");
  EXPECT_EQ(ProbeText(d.probes[1], 0.5), "no answer within 0.5 s");
  EXPECT_EQ(ProbeText(d.probes[2], 0.5),
            "answered, but not as an ECU (0D 0A 4F 4B 0D 0A)");
  EXPECT_NE(ProbeText(d.probes[3], 0.5).find("dialout"), std::string::npos);
  EXPECT_EQ(ProbeText(*d.found(), 0.5), "ECU V1.02.04, serial 70001");
  // Only the revision and serial requests went out: nothing is written.
  for (const std::string& frame : port_.written()) {
    EXPECT_TRUE(frame == BuildRequest("R") || frame == BuildRequest("-"));
  }
}

TEST_F(DetectionTest, WithoutAnEcuEveryPortIsTriedAndNoneFound) {
  const Detection d = Detect({"/dev/silent", "/dev/missing"}, false);
  ASSERT_EQ(d.probes.size(), 2u);
  EXPECT_EQ(d.probes[1].result, Result::kMissing);
  EXPECT_EQ(d.found(), nullptr);
}

TEST(DetectionCandidatesTest, TheStoredPortFirstAndNoDeviceTwice) {
  const std::vector<PresentPort> present = {
      {"/dev/ttyS0", "", "", std::nullopt, std::nullopt},
      {.device = "/dev/ttyUSB0",
       .description = "FT232R USB UART",
       .maker = "FTDI",
       .vendor_id = 0x0403,
       .product_id = 0x6001}};
  EXPECT_EQ(
      DetectionCandidates(present, "/dev/pts/4"),
      (std::vector<std::string>{"/dev/pts/4", "/dev/ttyS0", "/dev/ttyUSB0"}));
  EXPECT_EQ(DetectionCandidates(present, "/dev/ttyUSB0").size(), 2u);
  EXPECT_EQ(PortCaption(present[1]),
            "/dev/ttyUSB0  FT232R USB UART (FTDI, 0403:6001)");
  EXPECT_EQ(PortCaption(present[0]), "/dev/ttyS0");
}

}  // namespace
}  // namespace ecu
