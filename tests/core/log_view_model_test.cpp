#include "core/advisor/log_view_model.h"

#include <gtest/gtest.h>

namespace ecu {
namespace {

// Samples at the given times, RPM rising by 1000 each (an eighth of the
// chart's 8000 rev/min each).
LogViewModel ModelOf(const std::vector<double>& times) {
  DataLog log;
  for (size_t i = 0; i < times.size(); ++i) {
    LogSample s;
    s.time_s = times[i];
    s.rpm = 1000.0 * static_cast<double>(i);
    log.samples.push_back(s);
  }
  LogViewModel model;
  model.set_axes({8000, 115, 10, false});
  model.Show(std::move(log));
  return model;
}

TEST(LogViewModelTest, EachPixelColumnSpansItsSamples) {
  LogViewModel model = ModelOf({0, 0.5, 1, 1.5, 2, 2.5, 3, 3.5, 4});
  // Four columns of a second each; the last sample falls in the last one.
  const std::vector<ColumnSpan> spans = model.Envelope(0, 4);
  ASSERT_EQ(spans.size(), 4u);
  EXPECT_FLOAT_EQ(spans[0].low, 0);
  EXPECT_FLOAT_EQ(spans[0].high, 0.125f);
  EXPECT_FLOAT_EQ(spans[3].low, 0.75f);
  EXPECT_FLOAT_EQ(spans[3].high, 1.0f);
  // A pause leaves its columns empty.
  LogViewModel paused = ModelOf({0, 1, 7, 8});
  const std::vector<ColumnSpan> gaps = paused.Envelope(0, 8);
  EXPECT_FALSE(gaps[0].empty);
  EXPECT_TRUE(gaps[3].empty);
  EXPECT_FALSE(gaps[7].empty);
}

TEST(LogViewModelTest, ViewStaysWithinTheLogAndTheCursorOnASample) {
  LogViewModel model = ModelOf({100, 101, 102, 103, 104, 105, 106, 107, 108});
  model.Zoom(0.01, 104);  // no narrower than a second
  EXPECT_DOUBLE_EQ(model.view_end() - model.view_begin(), 1);
  EXPECT_DOUBLE_EQ(model.view_begin(), 103.5);
  model.Pan(-50);
  EXPECT_DOUBLE_EQ(model.view_begin(), 100);
  model.Zoom(100, 100);  // no wider than the log
  EXPECT_DOUBLE_EQ(model.view_begin(), 100);
  EXPECT_DOUBLE_EQ(model.view_end(), 108);
  EXPECT_EQ(model.Visible(), (std::pair<size_t, size_t>{0, 9}));
  model.PlaceCursor(103.4);
  EXPECT_EQ(model.cursor(), 3u);
  model.PlaceCursor(999);
  EXPECT_EQ(model.cursor(), 8u);
  model.StepCursor(5);
  EXPECT_EQ(model.cursor(), 8u);
  EXPECT_EQ(LogViewModel::TimeText(86400 + 3725.47, true), "01:02:05.4");
}

}  // namespace
}  // namespace ecu
