#include "timefreq/spwvd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/recording_host.h"
#include "plot/charts.h"
#include "plot/line_plots.h"
#include "plot/matrix_paint.h"
#include "signal/number_text.h"
#include "signal/waveform_file.h"
#include "support/temp_dir.h"
#include "timefreq/spwvd_grid.h"
#include "timefreq/spwvd_reference.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::TempDir;

// A waveform of `count` samples of a decaying burst, "%e" samples, dt from the header.
void WriteBurst(const std::string& path, int count, double dt) {
  std::vector<double> x(count);
  for (int k = 0; k < count; ++k) x[k] = std::sin(0.15 * k) * std::exp(-k / 900.0) + 0.01;
  WaveformHeader header;
  header.channel = 3;
  header.timeOfTest = 2.5;
  header.sampleInterval = dt;
  header.units = "  mV";
  ASSERT_TRUE(WriteWaveformSci(path, x.data(), count, header));
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  size_t start = 0;
  for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
    cells.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  EXPECT_EQ(start, line.size()) << "every cell ends with a tab";
  return cells;
}

class PositionLog : public NullProgress {
 public:
  void SetRange(int low, int high) override { range = {low, high}; }
  void SetPos(int pos) override { positions.push_back(pos); }
  std::pair<int, int> range{-1, -1};
  std::vector<int> positions;
};

// dt = 1e-7 s from the file, a window of 4000 samples, subsampling 2, automatic frequency grid.
TftRequest FourThousandSampleRequest(const std::string& path, double freqEnd) {
  TftRequest r;
  r.path = path;
  r.freqRes = 1000.0;
  r.freqStart = 0.0;
  r.freqEnd = freqEnd;
  r.timeRes = 1.0;  // ignored: autoTimeRes
  r.timeStart = 0.0;
  r.timeEnd = 4e-4;
  r.output = TftOutput::kModulus;
  r.autoTimeRes = true;
  r.autoFreqRes = true;
  r.subsampling = 2;
  r.windowParameter = 4;
  return r;
}

struct SpwvdRun {
  RecordingHost host;
  PositionLog progress;
  std::unique_ptr<SpwvdWorkspace> workspace = std::make_unique<SpwvdWorkspace>();
  CalcStatus Go(const TftRequest& request) {
    return CalcSingleSpwvd(*workspace, request, progress, host);
  }
};

TEST(SpwvdGrid, DecimatedWindowAndAutomaticFrequencyGrid) {
  TftRequest r = FourThousandSampleRequest("x.txt", 1.03e6);
  SpwvdGrid grid = SpwvdWindowOf(r, 1e-7);
  CompleteSpwvdGrid(grid, r);
  EXPECT_EQ(grid.samples, 4000);
  EXPECT_EQ(grid.decimatedDt, 2e-7);
  EXPECT_EQ(grid.decimatedFs, 5e6);
  EXPECT_EQ(grid.columns, 2000);
  EXPECT_EQ(grid.nFreq, 600);
  EXPECT_EQ(grid.freqStep, 1.03e6 / 1200.0);
  EXPECT_NEAR(grid.freqStep, 858.3, 0.05);
  EXPECT_EQ(grid.shownBins, 246);  // 2 trunc(123.6)
  // Bins 4166.67 Hz apart: 1.03 MHz lies in bin 247.2, so bins 0 .. 248 cover the band.
  EXPECT_EQ(grid.binStep, 5e6 / 1200.0);
  EXPECT_EQ(grid.topBin, 248);
  EXPECT_EQ(grid.lines, 250);
  EXPECT_TRUE(SpwvdFrequencyProblem(grid).empty());
  // fs'/4 = 1.25 MHz is the highest frequency end.
  r.freqEnd = 1.25e6;
  EXPECT_FALSE(SpwvdSubsamplingTooHigh(grid, r));
  r.freqEnd = 1.2500001e6;
  EXPECT_TRUE(SpwvdSubsamplingTooHigh(grid, r));

  // Without the automatic grid: N_freq = trunc(fs'/delta f).
  r.autoFreqRes = false;
  r.freqRes = 9765.625;
  r.freqEnd = 1e6;
  CompleteSpwvdGrid(grid, r);
  EXPECT_EQ(grid.nFreq, 512);
  EXPECT_EQ(grid.shownBins, 2 * 102);  // trunc(1e6 * 512 / 5e6) = 102
  EXPECT_EQ(grid.topBin, 205);         // 1 MHz in bin 204.8 of 4882.8125 Hz
  EXPECT_EQ(grid.lines, 207);
  // An end exactly on a bin adds no line beyond it.
  r.freqEnd = 205 * 4882.8125;
  CompleteSpwvdGrid(grid, r);
  EXPECT_EQ(grid.topBin, 205);
}

// The whole run: 2000 columns of N_freq = 600, the preview, and the TFT file whose matrix line
// k + 1 holds bin k of every column, labelled with the bin's frequency k fs'/(2 N_freq), with the
// decimated time step.
TEST(CalcSingleSpwvd, TwoThousandColumnsGiveThePreviewAndTheFile) {
  TempDir dir;
  const std::string input = dir.File("hit.TXT");
  WriteBurst(input, 4200, 1e-7);
  SpwvdRun run;
  ASSERT_EQ(run.Go(FourThousandSampleRequest(input, 1e6)), CalcStatus::kDone);
  EXPECT_TRUE(run.host.messages.empty());

  EXPECT_EQ(run.progress.range, std::make_pair(0, 2000));
  ASSERT_EQ(run.progress.positions.size(), 2000u);
  for (int c = 0; c < 2000; ++c) ASSERT_EQ(run.progress.positions[c], c);

  ASSERT_EQ(run.host.images.size(), 1u);
  EXPECT_EQ(run.host.images[0].title, "SPVWD-File");
  EXPECT_EQ(run.host.images[0].image.cols, 800);
  EXPECT_EQ(run.host.images[0].image.rows, 700);
  EXPECT_TRUE(Exists(dir.File("hit_spvwd_preview.bmp")));

  // Bins 5e6/1200 Hz apart: 1 MHz is bin 240, so three header lines, the time line, 241 bins.
  const std::vector<std::string> lines = Lines(ReadBytes(dir.File("hit_spvwd.txt")));
  ASSERT_EQ(lines.size(), 3u + 1u + 241u);
  EXPECT_EQ(lines[0], "Channel:\t3");
  EXPECT_EQ(lines[1], "Time of Record:\t2.500000e+000");
  EXPECT_EQ(lines[2], "Timeresolution:\t2.000000e-007");
  const std::vector<std::string> times = Cells(lines[3]);
  ASSERT_EQ(times.size(), 2001u);
  EXPECT_EQ(times[0], "Frequency[Hz]/Time[s]");
  EXPECT_EQ(times[1], "2.000000e-007");
  EXPECT_EQ(times[2000], "4.000000e-004");

  const double binStep = 5e6 / 1200.0;
  const TftMatrix& matrix = run.workspace->matrix;
  for (int k : {0, 1, 60, 239, 240}) {
    const std::vector<std::string> cells = Cells(lines[4 + k]);
    ASSERT_EQ(cells.size(), 2001u);
    EXPECT_EQ(cells[0], FormatE(k * binStep));
    for (int c : {0, 1, 999, 1999}) {
      EXPECT_EQ(cells[1 + c], FormatE(matrix.Row(k)[c].re)) << k << " " << c;
      EXPECT_EQ(matrix.Row(k)[c].im, 0.0);
    }
  }
  EXPECT_EQ(Cells(lines[4 + 240])[0], "1.000000e+006");
  // The burst puts energy into the distribution.
  EXPECT_GT(matrix.Row(10)[500].re, 0.0);

  // The preview: bins 0 .. D-1 of the 2000 columns and the signal strip 4001 points wide, both
  // labelled with the undecimated window (4000 + 1) * 1e-7 s; the frequency label counts the 240
  // painted bins: 240 * 5e6/1200 Hz = 1 MHz over 30 divisions.
  cv::Mat map(240, 2000, CV_8UC3);
  const double largest = PaintComplexMatrix(map, matrix.Data(), 2000, 240);
  const Waveform& wf = run.workspace->waveform;
  cv::Mat signal(100, 4001, CV_8UC3);
  const double amplitude = PlotComplexSignal(signal, run.workspace->window.data(), 4200, wf);
  const cv::Mat expected = MakePreviewComposite(
      MakeTimeFrequencyChart(map, 4001 * 1e-7, 1e6, largest, ColourBarTitle::kWignerVille),
      MakeSignalStrip(signal, 4001 * 1e-7, amplitude, wf.units));
  EXPECT_EQ(cv::norm(run.host.images[0].image, expected, cv::NORM_INF), 0.0);
}

// Complex cells carry the magnitude and a zero imaginary part; a second run in the same
// workspace on a shorter file leaves nothing of the first one behind.
TEST(CalcSingleSpwvd, ComplexCellsAndReusedWorkspace) {
  TempDir dir;
  const std::string longInput = dir.File("long.txt");
  const std::string shortInput = dir.File("short.txt");
  WriteBurst(longInput, 3000, 1e-7);
  WriteBurst(shortInput, 700, 1e-7);
  TftRequest r = FourThousandSampleRequest(longInput, 1e6);
  r.timeEnd = 3e-4;
  r.output = TftOutput::kComplex;

  SpwvdRun reused;
  ASSERT_EQ(reused.Go(r), CalcStatus::kDone);
  const std::vector<std::string> lines = Lines(ReadBytes(dir.File("long_spvwd.txt")));
  const std::vector<std::string> cells = Cells(lines[5]);
  EXPECT_EQ(cells[1], FormatE(reused.workspace->matrix.Row(1)[0].re) + ",0.000000e+000");

  r.path = shortInput;
  ASSERT_EQ(reused.Go(r), CalcStatus::kDone);
  const std::string reusedTable = ReadBytes(dir.File("short_spvwd.txt"));
  const cv::Mat reusedPreview = reused.host.images.back().image;

  SpwvdRun fresh;
  ASSERT_EQ(fresh.Go(r), CalcStatus::kDone);
  EXPECT_EQ(ReadBytes(dir.File("short_spvwd.txt")), reusedTable);
  EXPECT_EQ(cv::norm(fresh.host.images.back().image, reusedPreview, cv::NORM_INF), 0.0);
}

// A window that starts before the first sample reads zeros there.
TEST(CalcSingleSpwvd, NegativeTimeStartReadsZerosBeforeTheSignal) {
  TempDir dir;
  const std::string input = dir.File("early.txt");
  WriteBurst(input, 300, 1e-7);
  TftRequest r = FourThousandSampleRequest(input, 1e6);
  r.timeStart = -1e-5;  // h = -100
  r.timeEnd = 2e-5;     // e = 200
  r.subsampling = 1;
  r.autoFreqRes = false;
  r.freqRes = 5e4;  // N_freq = 200
  SpwvdRun run;
  ASSERT_EQ(run.Go(r), CalcStatus::kDone);
  const std::vector<Complex>& window = run.workspace->window;
  for (int i = 0; i < 100; ++i) ASSERT_EQ(window[i].re, 0.0) << i;
  EXPECT_EQ(window[100].re, run.workspace->waveform.samples[0].re);
  EXPECT_EQ(window[299].re, run.workspace->waveform.samples[199].re);
  EXPECT_EQ(window[300].re, 0.0);
  EXPECT_EQ(run.progress.positions.size(), 300u);
  EXPECT_TRUE(Exists(dir.File("early_spvwd.txt")));
}

struct RefusalCase {
  const char* name;
  void (*change)(TftRequest&, const TempDir&);
  const char* message;
};

class CalcSingleSpwvdRefuses : public ::testing::TestWithParam<RefusalCase> {};

// Every refusal shows one message and writes nothing.
TEST_P(CalcSingleSpwvdRefuses, WithOneMessageAndNoFile) {
  TempDir dir;
  const std::string input = dir.File("hit.txt");
  WriteBurst(input, 4200, 1e-7);
  TftRequest r = FourThousandSampleRequest(input, 1e6);
  GetParam().change(r, dir);
  SpwvdRun run;
  EXPECT_EQ(run.Go(r), CalcStatus::kRefused);
  EXPECT_EQ(run.host.messages, std::vector<std::string>{GetParam().message});
  EXPECT_TRUE(run.host.images.empty());
  EXPECT_FALSE(Exists(dir.File("hit_spvwd.txt")));
  EXPECT_FALSE(Exists(dir.File("hit_spvwd_preview.bmp")));
}

INSTANTIATE_TEST_SUITE_P(
    Guards, CalcSingleSpwvdRefuses,
    ::testing::Values(
        RefusalCase{"WrongExtension",
                    [](TftRequest& r, const TempDir& dir) { r.path = dir.File("hit.dat"); },
                    "Filetype has the wrong format! Provide a valid file!"},
        RefusalCase{"MissingFile",
                    [](TftRequest& r, const TempDir& dir) { r.path = dir.File("none.txt"); },
                    "No valid data present in file or error during loading!"},
        RefusalCase{"FrequencyEndAboveQuarterRate",
                    [](TftRequest& r, const TempDir&) { r.freqEnd = 1.3e6; },
                    "Subsampling rate to high. Please reduce!"},
        RefusalCase{"SubsamplingZero", [](TftRequest& r, const TempDir&) { r.subsampling = 0; },
                    "Subsampling size 0 is not allowed! Value has to be > 0!"},
        RefusalCase{"SubsamplingNegative",
                    [](TftRequest& r, const TempDir&) { r.subsampling = -2; },
                    "Subsampling size -2 is not allowed! Value has to be > 0!"},
        RefusalCase{"WindowParameterZero",
                    [](TftRequest& r, const TempDir&) { r.windowParameter = 0; },
                    "Window parameter 0 is not allowed! Value has to be > 0!"},
        RefusalCase{"TimeResolutionZero",
                    [](TftRequest& r, const TempDir&) {
                      r.autoTimeRes = false;
                      r.timeRes = 0.0;
                    },
                    "Time resolution of 0.000000e+000 s is not allowed! Value has to be > 0!"},
        RefusalCase{"TimeResolutionNaN",
                    [](TftRequest& r, const TempDir&) {
                      r.autoTimeRes = false;
                      r.timeRes = std::numeric_limits<double>::quiet_NaN();
                    },
                    "Time resolution of nan s is not allowed! Value has to be > 0!"},
        RefusalCase{"TimeWindowNaN",
                    [](TftRequest& r, const TempDir&) {
                      r.timeEnd = std::numeric_limits<double>::quiet_NaN();
                    },
                    "Time window holds no samples! Please check consistence!"},
        RefusalCase{"WindowBeyondBuffer", [](TftRequest& r, const TempDir&) { r.timeEnd = 2e-3; },
                    "Time window of 20000 samples exceeds program limit of 16384!"},
        RefusalCase{"WindowShorterThanSubsampling",
                    [](TftRequest& r, const TempDir&) { r.timeEnd = 1e-7; },
                    "The field tfr.N_time is not correctly set\n"},
        RefusalCase{"FrequencyStepAboveRate",
                    [](TftRequest& r, const TempDir&) {
                      r.autoFreqRes = false;
                      r.freqRes = 6e6;  // N_freq = trunc(5e6/6e6) = 0
                    },
                    "The field tfr.N_freq is not correctly set\n"},
        RefusalCase{"FrequencyResolutionZero",
                    [](TftRequest& r, const TempDir&) {
                      r.autoFreqRes = false;
                      r.freqRes = 0.0;
                    },
                    "Frequency resolution of 0.000000e+000 Hz is not allowed! Value has to be > "
                    "0!"},
        RefusalCase{"AutomaticGridOfEmptySpan",
                    [](TftRequest& r, const TempDir&) { r.freqEnd = r.freqStart; },
                    "Frequency resolution of 0.000000e+000 Hz is not allowed! Value has to be > "
                    "0!"},
        RefusalCase{"FrequencyStartEqualsEnd",
                    [](TftRequest& r, const TempDir&) {
                      r.autoFreqRes = false;
                      r.freqStart = r.freqEnd;  // D = 0: no bin to show, no row to write
                    },
                    "Frequency grid holds no rows! Please check consistence!"},
        RefusalCase{"FrequencyEndBelowStart",
                    [](TftRequest& r, const TempDir&) {
                      r.autoFreqRes = false;
                      r.freqStart = 5e5;
                      r.freqEnd = 1e5;
                    },
                    "Frequency grid holds no rows! Please check consistence!"},
        RefusalCase{"TransformTooLong",
                    [](TftRequest& r, const TempDir&) {
                      r.autoFreqRes = false;
                      r.freqRes = 100.0;  // N_freq = 50000
                      r.freqEnd = 1000.0;
                    },
                    "Transform length of 50000 exceeds program limit of 16384! Please increase "
                    "the frequency resolution!"},
        RefusalCase{"TooManyShownBins",
                    [](TftRequest& r, const TempDir&) {
                      r.autoFreqRes = false;
                      r.freqRes = 1000.0;  // N_freq = 5000, D = 2 trunc(1e6 * 5000 / 5e6)
                    },
                    "Frequency grid of 2000 bins exceeds program limit of 512!"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

// The whole calculation as plain steps from the file on: read it, take the window [h, e) of the
// stored samples, keep every s-th real part, size the two smoothing windows, run the literal
// distribution and write the cells as the TFT file shows them (matrix line k + 1: bin k, at its
// frequency, up to the first bin at or above the frequency end).
std::vector<std::string> PlainSpwvdLines(const TftRequest& r) {
  Waveform wf;
  const int count = ReadWaveform(r.path, wf);
  const int stored = std::min(count, MAX_SAMPLES);
  const double dt = wf.sampleInterval;  // the requests take it from the file
  const long long h = static_cast<long long>(std::trunc(r.timeStart / dt));
  const long long e = static_cast<long long>(std::trunc(r.timeEnd / dt));
  const int nTime = static_cast<int>((e - h) / r.subsampling);
  std::vector<double> x(nTime);
  for (int j = 0; j < nTime; ++j) {
    const long long k = h + static_cast<long long>(j) * r.subsampling;
    x[j] = k >= 0 && k < stored ? wf.samples[k].re : 0.0;
  }
  const double fs = 1.0 / (dt * r.subsampling);
  const double span = r.freqEnd - r.freqStart;
  const double df = r.autoFreqRes ? span / 1200.0 : r.freqRes;
  const int nFreq = r.autoFreqRes ? 600 : static_cast<int>(fs / df);
  const double binStep = fs / (2.0 * nFreq);
  int topBin = 0;
  while (topBin < nFreq - 1 && topBin * binStep < r.freqEnd * (1 - 1e-12)) ++topBin;
  auto odd = [](int length) { return length % 2 == 0 ? length + 1 : length; };
  const int lt = odd(nTime / (5 * r.windowParameter));
  const int lf = odd(nFreq / r.windowParameter);
  const std::vector<double> out =
      testing::LiteralSpwvdCore(nTime, x.data(), testing::MeanOneHamming(lt).data(), lt,
                                testing::MeanOneHamming(lf), lf, nFreq, nTime);

  std::vector<std::string> text = {
      "Channel:\t" + FormatD(wf.channel), "Time of Record:\t" + FormatE(wf.timeOfTest),
      "Timeresolution:\t" + FormatE(dt * r.subsampling), "Frequency[Hz]/Time[s]\t"};
  for (int g = 1; g <= nTime; ++g) text[3] += FormatE(g * dt * r.subsampling + r.timeStart) + "\t";
  for (int k = 0; k <= topBin; ++k) {
    std::string line = FormatE(k * binStep) + "\t";
    for (int c = 0; c < nTime; ++c) line += FormatE(out[static_cast<size_t>(c) * nFreq + k]) + "\t";
    text.push_back(line);
  }
  return text;
}

struct TwinCase {
  const char* name;
  int samples;  // of the file, 1e-7 s apart
  double timeStart, timeEnd, freqEnd, freqRes;
  int autoFreqRes, subsampling, windowParameter;
};

void PrintTo(const TwinCase& c, std::ostream* os) { *os << c.name; }

class CalcSingleSpwvdTwin : public ::testing::TestWithParam<TwinCase> {};

TEST_P(CalcSingleSpwvdTwin, FileMatchesThePlainCalculation) {
  const TwinCase& c = GetParam();
  TempDir dir;
  const std::string input = dir.File("hit.txt");
  WriteBurst(input, c.samples, 1e-7);
  TftRequest r = FourThousandSampleRequest(input, c.freqEnd);
  r.timeStart = c.timeStart;
  r.timeEnd = c.timeEnd;
  r.freqRes = c.freqRes;
  r.autoFreqRes = c.autoFreqRes != 0;
  r.subsampling = c.subsampling;
  r.windowParameter = c.windowParameter;
  SpwvdRun run;
  ASSERT_EQ(run.Go(r), CalcStatus::kDone);
  const std::vector<std::string> expected = PlainSpwvdLines(r);
  const std::vector<std::string> actual = Lines(ReadBytes(dir.File("hit_spvwd.txt")));
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t l = 0; l < expected.size(); ++l) ASSERT_EQ(actual[l], expected[l]) << "line " << l;
}

INSTANTIATE_TEST_SUITE_P(
    Plain, CalcSingleSpwvdTwin,
    ::testing::Values(
        // N_freq = 600 by the automatic grid (direct transform), 100 columns.
        TwinCase{"AutomaticGrid", 600, 0.0, 2e-5, 1e6, 0.0, 1, 2, 4},
        // N_freq = 128 (radix 2), a window that starts before the first sample.
        TwinCase{"RadixTwoEarlyWindow", 600, -5e-6, 3e-5, 1e6, 39062.5, 0, 1, 2},
        // A file longer than the buffer: the window crosses sample 16384 and reads zeros there.
        TwinCase{"BeyondTheStoredSamples", MAX_SAMPLES + 116, 1.6e-3, 1.66e-3, 8e5, 4e4, 0, 3, 1}),
    [](const ::testing::TestParamInfo<TwinCase>& info) { return std::string(info.param.name); });

TEST(CalcSingleSpwvd, OutputNames) {
  EXPECT_EQ(SpwvdFilePath("/d/hit.TXT"), "/d/hit_spvwd.txt");
  EXPECT_EQ(SpwvdPreviewPath("/d/hit.TXT"), "/d/hit_spvwd_preview.bmp");
  EXPECT_EQ(SpwvdFilePath("/d/a.b/hit.txt"), "/d/a.b/hit_spvwd.txt");
}

}  // namespace
}  // namespace plexo
