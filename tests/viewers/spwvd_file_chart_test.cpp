// The TFT viewer on Wigner-Ville files: a tone is painted where the viewer's frequency label
// says it is, and files written with the earlier labelling still open.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/recording_host.h"
#include "plot/chart_style.h"
#include "support/chart_label.h"
#include "support/temp_dir.h"
#include "timefreq/spwvd.h"
#include "timefreq/tft_file.h"
#include "timefreq/tone_tft.h"
#include "viewers/file_charts.h"

namespace plexo {
namespace {

using testing::TempDir;

class SpwvdFileChart : public ::testing::TestWithParam<double> {};

TEST_P(SpwvdFileChart, ViewerReadsTheToneAtItsFrequency) {
  const double tone = GetParam();
  TempDir dir;
  const std::string input = dir.File("tone.txt");
  testing::WriteTone(input, tone, 1024, 1e-7);
  TftRequest r;
  r.path = input;
  r.freqRes = 2e4;  // fs' = 1e7 Hz, N_freq = 500: bins 1e4 Hz apart, 0 .. 1 MHz in 101 lines
  r.freqEnd = 1e6;
  r.timeEnd = 1.024e-4;
  r.autoTimeRes = true;
  r.subsampling = 1;
  r.windowParameter = 4;
  RecordingHost host;
  NullProgress progress;
  auto ws = std::make_unique<SpwvdWorkspace>();
  ASSERT_EQ(CalcSingleSpwvd(*ws, r, progress, host), CalcStatus::kDone);

  ViewerWorkspace viewer;
  const FileChart chart = DrawFileChart(ViewerKind::kTft, dir.File("tone_spvwd.txt"), viewer);
  ASSERT_EQ(chart.readResult, 102);  // the time line and 101 bins
  EXPECT_NEAR(viewer.tft.frequencyResolution, 1e4, 1e-6);
  EXPECT_NEAR(chart.vertical, 102 * 1e4 / 30.0, 1e-6);
  EXPECT_TRUE(testing::ShowsLabel(chart.image, "frequency[3.40e+004Hz/DIV]", {20, 20}, kWhite));
  // The painter leaves the bottom row empty and shows line k one row up, so the middle of the
  // tone's row reads a bin and a half high.
  EXPECT_NEAR(testing::ReadPaintedFrequency(chart.image, chart.vertical), tone, 2e4);

  // The same matrix in the earlier layout (line r labelled r * freqRes, holding bin r - 1) still
  // opens, with the step its labels give.
  const std::string old = dir.File("old_spvwd.txt");
  ASSERT_TRUE(WriteTftModulus(old, ws->matrix, 51, 1024, 2e4, 0.0, 1, 0.0, 1e-7));
  const FileChart oldChart = DrawFileChart(ViewerKind::kTft, old, viewer);
  EXPECT_EQ(oldChart.readResult, 51);
  EXPECT_NEAR(viewer.tft.frequencyResolution, 2e4, 1e-6);
  const double cell = ws->matrix.Row(10)[500].re;  // read into column 501: column 0 is the label
  EXPECT_NEAR(viewer.tft.At(10, 501), cell, 1e-6 * cell);
}

INSTANTIATE_TEST_SUITE_P(Tones, SpwvdFileChart, ::testing::Values(150e3, 300e3, 700e3));

}  // namespace
}  // namespace plexo
