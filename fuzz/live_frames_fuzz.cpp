// Live frames with any data, asked for as the polling passes of each view
// ask: decoding into LiveData and everything shown or logged from it (the
// monitor's read-outs, the fuel map's operating point and read-outs, the
// plotter's channels, the data log, which must read back whole).

#include <string>
#include <tuple>
#include <vector>

#include "core/advisor/data_log_reader.h"
#include "core/calibration/calibration_requests.h"
#include "core/console/data_log.h"
#include "core/console/demo_simulation.h"
#include "core/console/polling_loop.h"
#include "core/console/views.h"
#include "core/ecu_context.h"
#include "core/editors/fuel_map_live.h"
#include "core/link/frame.h"
#include "core/readouts/monitor_text.h"
#include "core/readouts/plotter_model.h"
#include "fuzz/fuzz_support.h"
#include "support/counting_pump.h"
#include "support/fake_clock.h"
#include "support/scripted_prompts.h"
#include "support/virtual_line_port.h"

namespace {

constexpr ecu::View kViews[] = {
    ecu::View::kMonitor,      ecu::View::kConfiguration, ecu::View::kFuelMap,
    ecu::View::kPlotter,      ecu::View::kCurves,        ecu::View::kDashboard,
    ecu::View::kSupplementary};
constexpr float kTachFilters[] = {0.2f, 0.5f, 0.8f, 1.0f};
constexpr int kMostPasses = 8;
// The widest read-out box holds this many characters.
constexpr size_t kWidestReadout = 12;

// Every view "exists"; showing and hiding are nothing here.
class NoWindows : public ecu::WindowHost {
 public:
  void ShowView(ecu::View) override {}
  void HideView(ecu::View) override {}
  void ShowMain() override {}
  void HideMain() override {}
  bool HasView(ecu::View) const override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecu;
  using namespace ecu::fuzz;
  FuzzedDataProvider in(data, size);
  EcuContext* context = nullptr;
  // Every request gets a well-formed reply of the length the console
  // expects; only the data is the input's (zeros once it is used up).
  auto far_end = [&in, &context](std::string_view request, double) {
    const uint8_t code = ByteAt(request, 2);
    const int length = context->replies.LengthOf(code);
    std::string reply =
        in.ConsumeBytesAsString(static_cast<size_t>(length - 3));
    reply.resize(static_cast<size_t>(length - 3), '\0');
    return std::vector<testing::LineChunk>{{BuildReply(code, reply), 0}};
  };
  testing::FakeClock clock;
  testing::VirtualLinePort port(clock, far_end);
  testing::ScriptedPrompts prompts;
  testing::CountingPump pump;
  EcuContext ctx(port, clock, prompts, pump);
  context = &ctx;
  ctx.link_state.port_device = "/dev/virtual";
  ctx.link.EnsureLink();

  const View view = in.PickValueInArray(kViews);
  ctx.live.TachFilterFactor = in.PickValueInArray(kTachFilters);
  const bool tps_mapped = in.ConsumeBool();
  // The console's own opening steps and polling pass of the view.
  NoWindows host;
  MonitorText monitor;
  DemoSimulation demo;
  Views views(ctx, host, monitor);
  PollingLoop loop(ctx, views, monitor, demo);
  views.OpenView(view);
  // Answered or not, the pass goes on as the console's does.
  if (view != View::kPlotter) std::ignore = ReadConfigurationBlock(ctx.link);
  std::string log = LogHeader("09-14-2008");
  int lines = 0;
  for (int pass = 0; pass < kMostPasses && in.remaining_bytes() > 0; ++pass) {
    loop.PollingPass();
    RequireFiniteLiveData(ctx.live);
    for (double v : ChannelValuesOf(ctx.live)) {
      Require(std::isfinite(v), "a plotter channel is not finite");
    }
    log += LogDataLine(ctx.live, clock.TimeText());
    ++lines;

    LiveData shown = ctx.live;
    ClampForMonitor(shown);
    for (const std::string& text : ComputeMonitorText(shown)) {
      Require(text.size() <= kWidestReadout,
              "a monitor read-out wider than its box: " + text);
    }
    const OperatingPoint point = FindOperatingPoint(shown, tps_mapped);
    Require(point.live_index >= 0 && point.live_index < 256,
            "the live cell lies outside the map");
    FuelMapReadouts readouts;
    RefreshReadouts(shown, readouts);
  }
  const DataLog read = ReadDataLog(log);
  Require(read.trouble.empty() && read.problems.empty(),
          "a data log line the console wrote cannot be read back");
  Require(static_cast<int>(read.samples.size()) == lines,
          "the data log read back lost samples");
  return 0;
}
