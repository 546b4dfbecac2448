// The review picture of one waveform: the waveform over the criterion on one time axis, the
// picks marked on both panels where they lie, and the notes that say why a pick means nothing.
#include "features/onset_review_chart.h"

#include <gtest/gtest.h>

#include <cmath>

#include "feature_test_data.h"
#include "plot/chart_layout.h"
#include "plot/chart_render.h"

namespace plexo {
namespace {

const cv::Vec3b kPrimary(200, 90, 0);
const cv::Vec3b kSecondary(0, 150, 0);

Waveform Burst(int count, int onset, double dt) {
  Waveform wf;
  const std::vector<double> x = testing::BurstSamples(count, onset, 2e5, 4e5, dt, 7);
  wf.samples.assign(MAX_SAMPLES, Complex{});
  for (int i = 0; i < count; ++i) wf.samples[i] = {x[i], 0.0};
  wf.count = count;
  wf.sampleInterval = dt;
  wf.units = "volts";
  return wf;
}

int ColumnPixels(const cv::Mat& image, const PanelLayout& p, double x, const cv::Vec3b& colour) {
  const int column = static_cast<int>(std::lround(p.x.Pixel(x)));
  int n = 0;
  for (int y = static_cast<int>(p.area.top) + 1; y < static_cast<int>(p.area.bottom) - 1; ++y)
    if (image.at<cv::Vec3b>(y, column) == colour) ++n;
  return n;
}

TEST(OnsetReviewChartTest, WaveformAboveCriterionOnOneTimeAxis) {
  const double dt = 1e-7;
  const Waveform wf = Burst(2000, 700, dt);
  const OnsetTrace trace = TraceOnsetAIC(wf.samples.data(), wf.count);
  const ChartData chart = OnsetReviewChart(wf, trace, {trace.pick, trace.pick});
  EXPECT_EQ(chart.full_x, (AxisRange{0.0, 2000 * dt}));
  ASSERT_EQ(chart.panels.size(), 2u);
  const ChartPanel& signal = chart.panels[0];
  const ChartPanel& criterion = chart.panels[1];
  EXPECT_EQ(signal.line.count, 2000);
  EXPECT_EQ(signal.line.y.At(900), wf.samples[900].re);
  EXPECT_EQ(criterion.line.count, trace.peak);
  // Split j sits at j * dt, where its onset lies.
  EXPECT_EQ(criterion.line.X(trace.pick), trace.pick * dt);
  EXPECT_EQ(criterion.line.y.At(trace.pick), trace.aic[trace.pick]);
  EXPECT_TRUE(criterion.note.empty());
  EXPECT_TRUE(signal.note.empty());
  // One marker, the automatic pick, on both panels.
  const std::vector<ChartMarker> pick{
      {trace.pick * dt, kAutomaticPickLabel, ChartMarker::Style::kPrimary}};
  EXPECT_EQ(signal.markers, pick);
  EXPECT_EQ(criterion.markers, pick);
  // The criterion's whole range is on the chart.
  const auto [low, high] = std::minmax_element(trace.aic.begin(), trace.aic.end());
  EXPECT_LT(criterion.full_y.low, *low);
  EXPECT_GT(criterion.full_y.high, *high);

  // Drawn: the pick's column is marked in both panels.
  const ChartView whole = WholeChart(chart);
  const cv::Mat image = RenderChart(chart, whole, 1000, 600);
  const ChartLayout layout = LayOutChart(chart, whole, 1000, 600);
  for (int panel = 0; panel < 2; ++panel)
    EXPECT_GT(ColumnPixels(image, layout.panels[panel], trace.pick * dt, kPrimary), 50) << panel;
}

TEST(OnsetReviewChartTest, CorrectedPickWindowEndAndRejection) {
  const double dt = 2e-7;
  const Waveform wf = Burst(1500, 500, dt);
  const OnsetTrace trace = TraceOnsetAIC(wf.samples.data(), wf.count);
  const OnsetReviewMarks marks{trace.pick, 420, OnsetState::kRejected, 30e-6};
  const ChartData chart = OnsetReviewChart(wf, trace, marks);
  ASSERT_EQ(chart.panels.size(), 2u);
  const ChartMarker automatic{trace.pick * dt, kAutomaticPickLabel, ChartMarker::Style::kPrimary};
  const ChartMarker corrected{420 * dt, kCorrectedPickLabel, ChartMarker::Style::kSecondary};
  const ChartMarker end{420 * dt + 30e-6, kWindowEndLabel, ChartMarker::Style::kBound};
  EXPECT_EQ(chart.panels[0].markers, (std::vector<ChartMarker>{automatic, corrected, end}));
  EXPECT_EQ(chart.panels[1].markers, (std::vector<ChartMarker>{automatic, corrected}));
  EXPECT_EQ(chart.panels[0].note, kRejectedNote);
  const ChartView whole = WholeChart(chart);
  const cv::Mat image = RenderChart(chart, whole, 1000, 600);
  const ChartLayout layout = LayOutChart(chart, whole, 1000, 600);
  for (int panel = 0; panel < 2; ++panel)
    EXPECT_GT(ColumnPixels(image, layout.panels[panel], 420 * dt, kSecondary), 50) << panel;
}

TEST(OnsetReviewChartTest, SaysWhenThePickMeansNothing) {
  Waveform wf = Burst(400, 0, 1e-7);
  for (int i = 0; i < 400; ++i) wf.samples[i] = {0.0, 0.0};
  const OnsetTrace flat = TraceOnsetAIC(wf.samples.data(), wf.count);
  const ChartData chart = OnsetReviewChart(wf, flat, {0, 0});
  EXPECT_EQ(chart.panels[1].line.count, 0);
  EXPECT_EQ(chart.panels[1].note, OnsetTraceNote(OnsetTraceProblem::kNoPreTrigger));
  // It still draws (an empty criterion, a flat waveform).
  const cv::Mat image = RenderChart(chart, WholeChart(chart), 300, 200);
  EXPECT_EQ(image.size(), cv::Size(300, 200));
}

TEST(OnsetReviewChartTest, AClickPicksTheNearestSample) {
  const Waveform wf = Burst(100, 50, 1e-6);
  EXPECT_EQ(OnsetSampleAt(wf, 12.4e-6), 12);
  EXPECT_EQ(OnsetSampleAt(wf, 12.6e-6), 13);
  EXPECT_EQ(OnsetSampleAt(wf, -5e-6), 0);
  EXPECT_EQ(OnsetSampleAt(wf, 1.0), 99);
  EXPECT_EQ(OnsetSampleAt(wf, std::nan("")), 0);
}

}  // namespace
}  // namespace plexo
