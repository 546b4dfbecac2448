// Pure tones through the Wigner-Ville distribution: the TFT file, the preview and the Average TFT
// must put a tone at its own frequency, and the file's lines must cover the requested band.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/recording_host.h"
#include "plot/chart_style.h"
#include "support/chart_label.h"
#include "support/temp_dir.h"
#include "timefreq/average_tft_methods.h"
#include "timefreq/spwvd.h"
#include "timefreq/tone_tft.h"

namespace plexo {
namespace {

using testing::ReadTftLines;
using testing::TempDir;
using testing::TftLinesRead;
using testing::WriteTone;

constexpr double kDt = 1e-7;
constexpr int kSamples = 1024;

struct GridCase {
  const char* name;
  int subsampling;
  double freqRes;  // 0: the automatic grid
};

// The grid as a user would work it out: fs' = 1/(dt s), N_freq = trunc(fs'/freqRes) or 600, bins
// fs'/(2 N_freq) apart, D = 2 trunc(span N_freq/fs') bins painted.
struct PlainGrid {
  double fs, binStep;
  int nFreq, shownBins;
};

PlainGrid PlainGridOf(const GridCase& g, double span) {
  PlainGrid p;
  p.fs = 1.0 / (kDt * g.subsampling);
  p.nFreq = g.freqRes > 0 ? static_cast<int>(p.fs / g.freqRes) : 600;
  p.binStep = p.fs / (2.0 * p.nFreq);
  p.shownBins = 2 * static_cast<int>(span * p.nFreq / p.fs);
  return p;
}

TftRequest ToneRequest(const std::string& path, const GridCase& g) {
  TftRequest r;
  r.path = path;
  r.freqRes = g.freqRes > 0 ? g.freqRes : 1e4;
  r.freqStart = 0.0;
  r.freqEnd = 1e6;
  r.timeRes = kDt;
  r.timeStart = 0.0;
  r.timeEnd = kSamples * kDt;
  r.output = TftOutput::kModulus;
  r.autoTimeRes = true;
  r.autoFreqRes = !(g.freqRes > 0);
  r.subsampling = g.subsampling;
  r.windowParameter = 4;
  return r;
}

// Lines k = 0, 1, ... at k fs'/(2 N_freq), from 0 Hz to the first bin at or above freqEnd.
void ExpectLinesCoverTheBand(const TftLinesRead& read, const TftRequest& r, const PlainGrid& p) {
  ASSERT_GE(read.labels.size(), 2u);
  for (size_t k = 0; k < read.labels.size(); ++k)
    ASSERT_NEAR(read.labels[k], k * p.binStep, 1e-6 * p.binStep * (k + 1)) << "line " << k;
  EXPECT_LE(read.labels.front(), r.freqStart);
  EXPECT_GE(read.labels.back(), r.freqEnd * (1 - 1e-6));
  EXPECT_LT(read.labels.back() - p.binStep, r.freqEnd);
}

class SpwvdTone : public ::testing::TestWithParam<std::tuple<double, GridCase>> {};

TEST_P(SpwvdTone, FileAndPreviewReadTheToneAtItsFrequency) {
  const auto [tone, grid] = GetParam();
  TempDir dir;
  const std::string input = dir.File("tone.txt");
  WriteTone(input, tone, kSamples, kDt);
  const TftRequest r = ToneRequest(input, grid);
  const PlainGrid p = PlainGridOf(grid, r.freqEnd - r.freqStart);

  RecordingHost host;
  NullProgress progress;
  auto ws = std::make_unique<SpwvdWorkspace>();
  ASSERT_EQ(CalcSingleSpwvd(*ws, r, progress, host), CalcStatus::kDone);
  EXPECT_TRUE(host.messages.empty());

  const TftLinesRead read = ReadTftLines(dir.File("tone_spvwd.txt"));
  ExpectLinesCoverTheBand(read, r, p);
  EXPECT_NEAR(testing::StrongestLabel(read), tone, p.binStep);

  // The preview's map paints D bins into 600 pixels under a label of D fs'/(2 N_freq)/30 Hz per
  // division. Its painter shows bin k one pixel row above k, so a reading may be a bin and a
  // half high.
  ASSERT_EQ(host.images.size(), 1u);
  const cv::Mat chart = host.images[0].image(cv::Rect(0, 0, 800, 600));
  const double perDivision = p.shownBins * p.binStep / 30.0;
  EXPECT_TRUE(testing::ShowsLabel(chart, "frequency[" + DivisionText(perDivision) + "Hz/DIV]",
                                  {20, 20}, kWhite));
  EXPECT_NEAR(testing::ReadPaintedFrequency(chart, perDivision), tone, 2.0 * p.binStep);
}

INSTANTIATE_TEST_SUITE_P(
    Tones, SpwvdTone,
    ::testing::Combine(::testing::Values(150e3, 300e3, 700e3),
                       ::testing::Values(GridCase{"NonPowerOfTwo500", 1, 2e4},
                                         GridCase{"PowerOfTwo512", 1, 19531.25},
                                         GridCase{"Subsampled250", 2, 2e4},
                                         GridCase{"SubsampledPowerOfTwo256", 2, 19531.25},
                                         GridCase{"Automatic", 1, 0.0},
                                         GridCase{"SubsampledAutomatic", 2, 0.0})),
    [](const auto& info) {
      return std::get<1>(info.param).name + std::string("At") +
             std::to_string(static_cast<int>(std::get<0>(info.param) / 1e3)) + "kHz";
    });

// A band above 0 Hz: the file still starts at bin 0 (as the preview does), so the lines cover
// the band and a viewer reading from the bottom keeps its frequencies.
TEST(SpwvdTone, BandAboveZeroIsCoveredFromBinZero) {
  TempDir dir;
  const std::string input = dir.File("tone.txt");
  WriteTone(input, 700e3, kSamples, kDt);
  const GridCase grid{"", 1, 2e4};
  TftRequest r = ToneRequest(input, grid);
  r.freqStart = 4e5;
  r.freqEnd = 9.05e5;
  RecordingHost host;
  NullProgress progress;
  auto ws = std::make_unique<SpwvdWorkspace>();
  ASSERT_EQ(CalcSingleSpwvd(*ws, r, progress, host), CalcStatus::kDone);
  const TftLinesRead read = ReadTftLines(dir.File("tone_spvwd.txt"));
  ASSERT_EQ(read.labels.size(), 92u);  // bins 0 .. 91, 10 kHz apart: 910 kHz >= 905 kHz
  ExpectLinesCoverTheBand(read, r, PlainGridOf(grid, r.freqEnd - r.freqStart));
  EXPECT_NEAR(testing::StrongestLabel(read), 700e3, 1e4);
}

// A grid whose bins up to the frequency end outgrow the file's 511 lines is refused, naming the
// count, before anything is written.
TEST(SpwvdTone, MoreThan511LinesAreRefused) {
  TempDir dir;
  const std::string input = dir.File("tone.txt");
  WriteTone(input, 300e3, kSamples, kDt);
  TftRequest r = ToneRequest(input, GridCase{"", 1, 9090.0});  // N_freq = 1100
  r.timeEnd = 256 * kDt;
  r.freqStart = 8e5;    // D = 2 trunc(1.52e6 * 1100 / 1e7) = 334 painted bins
  r.freqEnd = 2.318e6;  // bin 509.96 of 1e7/2200 Hz: bins 0 .. 510, 511 lines
  RecordingHost host;
  NullProgress progress;
  auto ws = std::make_unique<SpwvdWorkspace>();
  ASSERT_EQ(CalcSingleSpwvd(*ws, r, progress, host), CalcStatus::kDone);
  EXPECT_EQ(ReadTftLines(dir.File("tone_spvwd.txt")).labels.size(), 511u);
  r.freqEnd = 2.32e6;  // bin 510.4: 512 lines
  EXPECT_EQ(CalcSingleSpwvd(*ws, r, progress, host), CalcStatus::kRefused);
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"Frequency grid of 512 rows exceeds program limit of 511!"});
}

// The Average TFT by this method runs the same calculation on the average waveform: three hits of
// one tone at different amplitudes average to that tone, read at its frequency.
class SpwvdAverageTone : public ::testing::TestWithParam<double> {};

TEST_P(SpwvdAverageTone, AverageFileReadsTheTone) {
  const double tone = GetParam();
  TempDir dir;
  for (int i = 0; i < 3; ++i)
    WriteTone(dir.File("hit" + std::to_string(i) + ".txt"), tone, kSamples, kDt, 0.5 + i);
  const GridCase grid{"", 2, 2e4};
  const TftRequest r = ToneRequest("not used", grid);
  RecordingHost host;
  NullProgress progress;
  auto average = std::make_unique<AverageTftWorkspace>();
  auto ws = std::make_unique<SpwvdWorkspace>();
  ASSERT_EQ(CalcAverageSpwvd(*average, *ws, dir.path(), r, 0.5, 0, progress, host),
            CalcStatus::kDone);
  EXPECT_TRUE(host.messages.empty());
  const PlainGrid p = PlainGridOf(grid, r.freqEnd - r.freqStart);
  const TftLinesRead read = ReadTftLines(dir.File("avgWTData/average_signal_spvwd.txt"));
  ExpectLinesCoverTheBand(read, r, p);
  EXPECT_NEAR(testing::StrongestLabel(read), tone, p.binStep);
}

INSTANTIATE_TEST_SUITE_P(Tones, SpwvdAverageTone, ::testing::Values(150e3, 300e3, 700e3));

}  // namespace
}  // namespace plexo
