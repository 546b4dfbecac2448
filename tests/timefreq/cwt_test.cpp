#include "timefreq/cwt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/recording_host.h"
#include "signal/number_text.h"
#include "signal/waveform_file.h"
#include "support/chart_label.h"
#include "support/temp_dir.h"
#include "timefreq/cwt_reference.h"
#include "timefreq/gabor.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::ShowsLabel;
using testing::TempDir;

// Progress that records what a run reports and asks to stop once `stop_at` is reached.
class RecordingProgress : public CalcProgress {
 public:
  void SetRange(int low, int high) override { ranges.push_back({low, high}); }
  void SetPos(int pos) override { positions.push_back(pos); }
  void DrainMessages() override { ++drains; }
  bool StopRequested() const override {
    return stop_at > 0 && !positions.empty() && positions.back() >= stop_at;
  }
  std::vector<std::pair<int, int>> ranges;
  std::vector<int> positions;
  int drains = 0;
  int stop_at = 0;
};

void WriteBurst(const std::string& path, int count, double dt = 1e-7) {
  std::vector<double> x(count);
  for (int k = 0; k < count; ++k) {
    x[k] = std::sin(2.0 * 3.141592653589793 * 2e5 * k * dt) * std::exp(-k / 700.0) +
           0.2 * std::sin(0.9 * k);
  }
  WaveformHeader header;
  header.channel = 3;
  header.timeOfTest = 12.5;
  header.sampleInterval = dt;
  header.units = " volts";
  ASSERT_TRUE(WriteWaveform(path, x.data(), count, header));
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    if (end == std::string::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, end - start));
    start = end + separator.size();
  }
}

// The file's lines (without the empty text after the last CR LF).
std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> lines = Split(ReadBytes(path), "\r\n");
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

// The cells of a matrix line (without the empty text after the trailing tab).
std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells = Split(line, "\t");
  EXPECT_TRUE(!cells.empty() && cells.back().empty()) << "no trailing tab: " << line;
  cells.pop_back();
  return cells;
}

int FilesIn(const std::string& folder) {
  int n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

TftRequest Request(const std::string& path) {
  TftRequest r;
  r.path = path;
  r.timeStart = 0.0;
  r.timeEnd = 4e-4;
  r.timeRes = 1e-7;
  r.autoTimeRes = true;
  r.freqStart = 0.0;
  r.freqEnd = 1e6;
  r.freqRes = 1e4;
  r.autoFreqRes = true;
  r.waveletLength = 11;
  r.output = TftOutput::kModulus;
  return r;
}

struct CwtRun {
  RecordingHost host;
  RecordingProgress progress;
  std::unique_ptr<CwtWorkspace> workspace = std::make_unique<CwtWorkspace>();
  CalcStatus Go(const TftRequest& request) {
    return CalcSingleCwt(*workspace, request, progress, host);
  }
};

// The coefficients of frequency row `row` (1-based) of the window [first, first + columns) of
// the file's samples, by the plain loop.
std::vector<Complex> ExpectedRow(const std::string& path, long long first, int columns, int row,
                                 double df, double dt, int n) {
  Waveform wf;
  const int stored = std::min(ReadWaveform(path, wf), MAX_SAMPLES);  // what the reader keeps
  std::vector<Complex> window(MAX_SAMPLES);
  for (int i = 0; i < columns; ++i) {
    const long long k = first + i;
    if (k >= 0 && k < stored) window[i] = wf.samples[k];
  }
  std::vector<Complex> out(columns);
  testing::ReferenceCwtRow(GaborScale(row, df, dt), dt, window.data(), MAX_SAMPLES, out.data(),
                           columns, n);
  return out;
}

TEST(CalcSingleCwt, AutoFrequencyGridGivesHundredLinesOfFourThousandColumns) {
  TempDir dir;
  const std::string input = dir.File("hit.txt");
  WriteBurst(input, 5000);
  CwtRun run;
  ASSERT_EQ(run.Go(Request(input)), CalcStatus::kDone);

  const std::vector<std::string> lines = Lines(dir.File("hit_wt.txt"));
  ASSERT_EQ(lines.size(), 3u + 100u);
  EXPECT_EQ(lines[0], "Channel:\t3");
  EXPECT_EQ(lines[1], "Time of Record:\t1.250000e+001");
  EXPECT_EQ(lines[2], "Timeresolution:\t1.000000e-007");
  const std::vector<std::string> header = Cells(lines[3]);
  ASSERT_EQ(header.size(), 4001u);
  EXPECT_EQ(header[0], "Frequency[Hz]/Time[s]");
  EXPECT_EQ(header[1], "1.000000e-007");
  EXPECT_EQ(header[4000], "4.000000e-004");
  EXPECT_EQ(Cells(lines[4])[0], "1.000000e+004");
  EXPECT_EQ(Cells(lines.back())[0], "9.900000e+005");

  // Cells are the moduli of the plain loop's coefficients.
  for (int row : {1, 37, 99}) {
    const std::vector<Complex> expected = ExpectedRow(input, 0, 4000, row, 1e4, 1e-7, 11);
    const std::vector<std::string> cells = Cells(lines[3 + row]);
    ASSERT_EQ(cells.size(), 4001u);
    for (int c : {0, 1, 500, 3999}) {
      EXPECT_EQ(cells[1 + c], FormatE(std::hypot(expected[c].re, expected[c].im)))
          << "row " << row << " column " << c;
    }
  }

  ASSERT_EQ(run.host.images.size(), 1u);
  EXPECT_EQ(run.host.images[0].title, "WT-File");
  EXPECT_EQ(run.host.images[0].image.cols, 800);
  EXPECT_EQ(run.host.images[0].image.rows, 700);
  EXPECT_TRUE(Exists(dir.File("hit_wt_preview.bmp")));
  EXPECT_TRUE(run.host.messages.empty());

  ASSERT_EQ(run.progress.ranges.size(), 1u);
  EXPECT_EQ(run.progress.ranges[0], std::make_pair(0, 100));
  ASSERT_EQ(run.progress.positions.size(), 99u);
  for (int k = 1; k <= 99; ++k) EXPECT_EQ(run.progress.positions[k - 1], k);
  EXPECT_EQ(run.progress.drains, 99);
}

// A file longer than the buffer is computed on the samples the reader stored: a window across
// sample 16384 reads zeros from there on.
TEST(CalcSingleCwt, LongFileIsComputedOnItsFirst16384Samples) {
  TempDir dir;
  const std::string input = dir.File("long.txt");
  WriteBurst(input, MAX_SAMPLES + 200);
  TftRequest request = Request(input);
  request.output = TftOutput::kComplex;
  request.timeStart = 1.63e-3;  // samples 16300 .. 16499
  request.timeEnd = 1.65e-3;
  request.waveletLength = 41;
  CwtRun run;
  ASSERT_EQ(run.Go(request), CalcStatus::kDone);
  EXPECT_TRUE(run.host.messages.empty());
  EXPECT_EQ(run.workspace->waveform.count, MAX_SAMPLES + 200);
  const std::vector<std::string> lines = Lines(dir.File("long_wt.txt"));
  ASSERT_EQ(Cells(lines[3]).size(), 201u);
  for (int row : {1, 50, 99}) {
    const std::vector<Complex> expected = ExpectedRow(input, 16300, 200, row, 1e4, 1e-7, 41);
    const std::vector<std::string> cells = Cells(lines[3 + row]);
    for (int c = 0; c < 200; ++c) {
      ASSERT_EQ(cells[1 + c], FormatE(expected[c].re) + "," + FormatE(expected[c].im))
          << "row " << row << " column " << c;
    }
  }
}

// The preview's labels: time (C + 1) dt/40, frequency R df/30, amplitude A/5 with the units, and
// the colour bar's top value 250 M/255, M the largest modulus of rows 0 .. R-2.
TEST(CalcSingleCwt, PreviewLabelsShowTheGridAndTheLargestValues) {
  TempDir dir;
  const std::string input = dir.File("hit.txt");
  WriteBurst(input, 3000);
  TftRequest request = Request(input);
  request.timeEnd = 1.995e-5;  // C = 199: (C + 1) dt/40 = 5e-7
  CwtRun run;
  ASSERT_EQ(run.Go(request), CalcStatus::kDone);
  ASSERT_EQ(run.host.images.size(), 1u);
  const cv::Mat& preview = run.host.images[0].image;

  double largest = 0.0;
  for (int row = 1; row <= 99; ++row) {
    for (const Complex& v : ExpectedRow(input, 0, 199, row, 1e4, 1e-7, 11))
      largest = std::max(largest, std::hypot(v.re, v.im));
  }
  Waveform wf;
  ReadWaveform(input, wf);
  double amplitude = 0.0;
  for (int k = 0; k < 199; ++k) amplitude = std::max(amplitude, std::abs(wf.samples[k].re));

  const cv::Scalar white(255, 255, 255), grey(100, 100, 100), black(0, 0, 0);
  EXPECT_TRUE(ShowsLabel(preview, "time[5.00e-007s/DIV]", {650, 590}, white));
  EXPECT_TRUE(ShowsLabel(preview, "frequency[3.33e+004Hz/DIV]", {20, 20}, white));
  EXPECT_TRUE(ShowsLabel(preview, FormatE(250 * largest / 255, 2), {724, 29}, black));
  EXPECT_TRUE(ShowsLabel(preview, "0.00e+000", {724, 279}, black));
  // The signal strip below the map, its row 0 at preview row 600.
  EXPECT_TRUE(ShowsLabel(preview, "time[5.00e-007s/DIV]", {650, 690}, grey));
  EXPECT_TRUE(ShowsLabel(preview, "amplitude[" + FormatE(amplitude / 5, 2) + " volts/DIV]",
                         {20, 620}, grey));
}

TEST(CalcSingleCwt, StartFrequencyDoesNotShiftTheGrid) {
  TempDir dir;
  const std::string input = dir.File("hit.txt");
  WriteBurst(input, 3000);
  TftRequest request = Request(input);
  request.autoFreqRes = false;
  request.freqStart = 1e5;
  request.timeEnd = 2e-5;
  CwtRun run;
  ASSERT_EQ(run.Go(request), CalcStatus::kDone);
  const std::vector<std::string> lines = Lines(dir.File("hit_wt.txt"));
  ASSERT_EQ(lines.size(), 3u + 91u);
  EXPECT_EQ(Cells(lines[4])[0], "1.000000e+004");
  EXPECT_EQ(Cells(lines.back())[0], "9.000000e+005");
}

TEST(CalcSingleCwt, ComplexCellsAndUpperCaseExtension) {
  TempDir dir;
  const std::string input = dir.File("x.TXT");
  WriteBurst(input, 2000);
  TftRequest request = Request(input);
  request.output = TftOutput::kComplex;
  request.timeStart = 1e-5;  // the window starts at sample 100
  request.timeEnd = 1.3e-5;
  request.waveletLength = 20;
  CwtRun run;
  ASSERT_EQ(run.Go(request), CalcStatus::kDone);
  EXPECT_TRUE(Exists(dir.File("x_wt.txt")));
  EXPECT_TRUE(Exists(dir.File("x_wt_preview.bmp")));

  const std::vector<std::string> lines = Lines(dir.File("x_wt.txt"));
  const std::vector<std::string> header = Cells(lines[3]);
  ASSERT_EQ(header.size(), 31u);
  EXPECT_EQ(header[1], "1.010000e-005");
  const std::vector<Complex> expected = ExpectedRow(input, 100, 30, 5, 1e4, 1e-7, 20);
  const std::vector<std::string> cells = Cells(lines[3 + 5]);
  for (int c = 0; c < 30; ++c) {
    EXPECT_EQ(cells[1 + c], FormatE(expected[c].re) + "," + FormatE(expected[c].im));
  }
}

TEST(CalcSingleCwt, WindowsReachingPastEitherEndOfTheSignalSeeZeros) {
  TempDir dir;
  const std::string input = dir.File("hit.txt");
  WriteBurst(input, 500);
  for (const auto& [start, end, first] :
       {std::tuple{-1e-5, 2e-5, -100LL}, std::tuple{4.5e-5, 6e-5, 450LL}}) {
    TftRequest request = Request(input);
    request.output = TftOutput::kComplex;
    request.timeStart = start;
    request.timeEnd = end;
    request.waveletLength = 41;
    CwtRun run;
    ASSERT_EQ(run.Go(request), CalcStatus::kDone);
    const std::vector<std::string> lines = Lines(dir.File("hit_wt.txt"));
    const int columns = static_cast<int>(Cells(lines[3]).size()) - 1;
    const std::vector<Complex> expected = ExpectedRow(input, first, columns, 60, 1e4, 1e-7, 41);
    const std::vector<std::string> cells = Cells(lines[3 + 60]);
    for (int c = 0; c < columns; ++c) {
      ASSERT_EQ(cells[1 + c], FormatE(expected[c].re) + "," + FormatE(expected[c].im))
          << "window from " << first << " column " << c;
    }
  }
}

TEST(CalcSingleCwt, WaveletLengthZeroGivesZeroCoefficients) {
  TempDir dir;
  const std::string input = dir.File("hit.txt");
  WriteBurst(input, 800);
  TftRequest request = Request(input);
  request.timeEnd = 5e-6;
  request.waveletLength = 0;
  CwtRun run;
  ASSERT_EQ(run.Go(request), CalcStatus::kDone);
  const std::vector<std::string> lines = Lines(dir.File("hit_wt.txt"));
  for (size_t l = 4; l < lines.size(); ++l) {
    const std::vector<std::string> cells = Cells(lines[l]);
    for (size_t c = 1; c < cells.size(); ++c) ASSERT_EQ(cells[c], "0.000000e+000");
  }
}

TEST(CalcSingleCwt, AnyWaveletLengthRunsInBoundedTimeAndMemory) {
  // Only the taps that can meet the buffer are tabled and summed.
  TempDir dir;
  const std::string input = dir.File("hit.txt");
  WriteBurst(input, 800);
  TftRequest request = Request(input);
  request.timeEnd = 5e-6;
  request.waveletLength = 2147483647;
  CwtRun run;
  EXPECT_EQ(run.Go(request), CalcStatus::kDone);
}

TEST(CalcSingleCwt, OtherOutputTypesWriteOnlyThePreview) {
  TempDir dir;
  const std::string input = dir.File("hit.txt");
  WriteBurst(input, 800);
  TftRequest request = Request(input);
  request.timeEnd = 5e-6;
  request.output = TftOutput::kNone;
  CwtRun run;
  EXPECT_EQ(run.Go(request), CalcStatus::kDone);
  EXPECT_TRUE(Exists(dir.File("hit_wt_preview.bmp")));
  EXPECT_FALSE(Exists(dir.File("hit_wt.txt")));
}

struct RefusalCase {
  const char* name;
  const char* file;  // file name written in the test folder
  int samples;       // < 0: a file of three lines
  void (*change)(TftRequest&);
  const char* message;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class CalcSingleCwtRefuses : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(CalcSingleCwtRefuses, WithItsMessageAndWritesNothing) {
  const RefusalCase& c = GetParam();
  TempDir dir;
  const std::string input = dir.File(c.file);
  if (c.samples >= 0) {
    WriteBurst(input, c.samples);
  } else {
    testing::WriteBytes(input, "SAMPLE INTERVAL (Seconds):   1e-7\r\nUNITS:\tvolts\r\n\r\n");
  }
  TftRequest request = Request(input);
  c.change(request);
  CwtRun run;
  EXPECT_EQ(run.Go(request), CalcStatus::kRefused);
  ASSERT_EQ(run.host.messages.size(), 1u);
  EXPECT_EQ(run.host.messages[0], c.message);
  EXPECT_TRUE(run.host.images.empty());
  EXPECT_TRUE(run.progress.ranges.empty());
  EXPECT_EQ(FilesIn(dir.path()), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CalcSingleCwtRefuses,
    ::testing::Values(
        RefusalCase{"wrong_extension", "hit.dat", 100, [](TftRequest&) {},
                    "Filetype has the wrong format! Provide a valid file!"},
        RefusalCase{"no_samples", "hit.txt", 0, [](TftRequest&) {},
                    "No valid data present in file or error during loading!"},
        RefusalCase{"short_file", "hit.txt", -1, [](TftRequest&) {},
                    "No valid data present in file or error during loading!"},
        RefusalCase{"time_resolution_zero", "hit.txt", 100,
                    [](TftRequest& r) {
                      r.autoTimeRes = false;
                      r.timeRes = 0.0;
                    },
                    "Time resolution of 0.000000e+000 s is not allowed! Value has to be > 0!"},
        RefusalCase{
            "frequency_step_zero", "hit.txt", 100,
            [](TftRequest& r) {
              r.autoFreqRes = false;
              r.freqRes = 0.0;
            },
            "Frequency resolution of 0.000000e+000 Hz is not allowed! Value has to be > 0!"},
        RefusalCase{"empty_window", "hit.txt", 100, [](TftRequest& r) { r.timeEnd = 0.0; },
                    "Time window holds no samples! Please check consistence!"},
        RefusalCase{"window_too_wide", "hit.txt", 100, [](TftRequest& r) { r.timeEnd = 2e-3; },
                    "Time window of 20000 samples exceeds program limit of 16383!"},
        RefusalCase{"too_many_rows", "hit.txt", 100,
                    [](TftRequest& r) {
                      r.autoFreqRes = false;
                      r.freqRes = 1e3;
                    },
                    "Frequency grid of 1000 rows exceeds program limit of 511!"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST(CalcSingleCwt, StopRequestEndsTheRunWithoutWriting) {
  TempDir dir;
  const std::string input = dir.File("hit.txt");
  WriteBurst(input, 3000);
  for (int jobs : {1, 2, 4}) {
    CwtRun run;
    run.workspace->jobs = jobs;
    run.progress.stop_at = 5;
    EXPECT_EQ(run.Go(Request(input)), CalcStatus::kStopped);
    EXPECT_EQ(run.progress.positions, (std::vector<int>{1, 2, 3, 4, 5})) << "jobs " << jobs;
    EXPECT_TRUE(run.host.images.empty());
    EXPECT_EQ(FilesIn(dir.path()), 1);
  }
}

TEST(CalcSingleCwt, FilesDoNotDependOnTheThreadCount) {
  TempDir dir;
  const std::string input = dir.File("hit.txt");
  WriteBurst(input, 3000);
  TftRequest request = Request(input);
  request.output = TftOutput::kComplex;
  request.timeEnd = 1.2e-4;
  request.waveletLength = 61;
  std::string table;
  std::string preview;
  for (int jobs : {1, 2, 3, 8}) {
    CwtRun run;
    run.workspace->jobs = jobs;
    ASSERT_EQ(run.Go(request), CalcStatus::kDone);
    if (jobs == 1) {
      table = ReadBytes(dir.File("hit_wt.txt"));
      preview = ReadBytes(dir.File("hit_wt_preview.bmp"));
      continue;
    }
    EXPECT_TRUE(ReadBytes(dir.File("hit_wt.txt")) == table) << "jobs " << jobs;
    EXPECT_TRUE(ReadBytes(dir.File("hit_wt_preview.bmp")) == preview) << "jobs " << jobs;
  }
}

TEST(CalcSingleCwt, AReusedWorkspaceGivesWhatAFreshOneGives) {
  TempDir dir;
  const std::string big = dir.File("big.txt");
  const std::string small = dir.File("small.txt");
  WriteBurst(big, 6000);
  WriteBurst(small, 300, 2e-7);
  TftRequest wide = Request(big);
  wide.timeEnd = 5e-4;
  TftRequest narrow = Request(small);
  narrow.output = TftOutput::kComplex;
  narrow.timeEnd = 1e-4;
  narrow.autoFreqRes = false;
  narrow.freqEnd = 3e5;

  CwtRun fresh;
  ASSERT_EQ(fresh.Go(narrow), CalcStatus::kDone);
  const std::string expected_table = ReadBytes(dir.File("small_wt.txt"));
  const std::string expected_preview = ReadBytes(dir.File("small_wt_preview.bmp"));

  CwtRun reused;
  ASSERT_EQ(reused.Go(wide), CalcStatus::kDone);
  ASSERT_EQ(reused.Go(narrow), CalcStatus::kDone);
  EXPECT_TRUE(ReadBytes(dir.File("small_wt.txt")) == expected_table);
  EXPECT_TRUE(ReadBytes(dir.File("small_wt_preview.bmp")) == expected_preview);
}

TEST(CalcSingleCwt, HeaderlessRecordingNeedsAnExplicitTimeResolution) {
  const std::string source =
      std::string(PLEXO_REALDATA_DIR) + "/liu-aewin-headerless/EXP1001_1_1031_27467421.txt";
  if (!Exists(source)) GTEST_SKIP() << "no real recordings here";
  TempDir dir;
  const std::string input = dir.File("EXP1001.txt");
  std::filesystem::copy_file(source, input);  // results are written beside the input

  TftRequest request = Request(input);
  request.timeEnd = 4e-4;  // 2000 samples at 2e-7 s
  CwtRun without_interval;
  EXPECT_EQ(without_interval.Go(request), CalcStatus::kRefused);
  EXPECT_EQ(without_interval.host.messages,
            std::vector<std::string>{
                "Time resolution of 0.000000e+000 s is not allowed! Value has to be > 0!"});

  request.autoTimeRes = false;
  request.timeRes = 2e-7;
  CwtRun with_interval;
  ASSERT_EQ(with_interval.Go(request), CalcStatus::kDone);
  EXPECT_EQ(Cells(Lines(dir.File("EXP1001_wt.txt"))[3]).size(), 2001u);
}

}  // namespace
}  // namespace plexo
