#include "spectral/average_fft.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/file_system.h"
#include "platform/recording_host.h"
#include "plot/charts.h"
#include "plot/line_plots.h"
#include "signal/number_text.h"
#include "signal/waveform_file.h"
#include "spectral/fft.h"
#include "support/read_bmp.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

namespace fs = std::filesystem;

using TempFolder = testing::TempDir;

void WriteSamples(const std::string& path, const std::vector<double>& samples, double dt) {
  WaveformHeader header;
  header.sampleInterval = dt;
  header.channel = 1;
  ASSERT_TRUE(WriteWaveformSci(path, samples.data(), static_cast<int>(samples.size()), header));
}

// An impulse of height `a` at index 1 (index 0 is always read as 0): bin 0 holds exactly a and
// every bin's magnitude is a up to rounding.
std::vector<double> Impulse(int count, double a) {
  std::vector<double> x(count, 0.0);
  x[1] = a;
  return x;
}

// Deterministic samples with three decimals, exact in "%e" text.
std::vector<double> Noise(int count, unsigned seed) {
  std::vector<double> x(count);
  for (double& v : x) {
    seed = seed * 1103515245u + 12345u;
    v = static_cast<int>((seed >> 8) % 2001) / 1000.0 - 1.0;
  }
  return x;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The table's lines without their CR LF (each line must carry one).
std::vector<std::string> TableLines(const std::string& path) {
  std::vector<std::string> lines;
  const std::string bytes = ReadBytes(path);
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "line without CR LF";
    if (end == std::string::npos) break;
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<double> Columns(const std::string& line) {
  std::vector<double> values;
  size_t start = 0;
  while (true) {
    size_t tab = line.find('\t', start);
    values.push_back(ParseDouble(std::string_view(line).substr(start, tab - start)));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return values;
}

enum Column { kFrequency, kReal, kImaginary, kMagnitude, kDeviation, kMinimum, kMaximum };

class StopAfter : public CalcProgress {
 public:
  explicit StopAfter(int files) : stop_after_(files) {}
  void SetRange(int low, int high) override { range = {low, high}; }
  void SetPos(int pos) override { positions.push_back(pos); }
  void DrainMessages() override { ++drains; }
  bool StopRequested() const override { return static_cast<int>(positions.size()) >= stop_after_; }
  std::pair<int, int> range{-1, -1};
  std::vector<int> positions;
  int drains = 0;

 private:
  int stop_after_;
};

struct RunResult {
  CalcStatus status;
  RecordingHost host;
};

RunResult RunAverage(AverageFftWorkspace& ws, const std::string& folder, int window = 0,
                     int jobs = 1) {
  RunResult run;
  NullProgress progress;
  run.status = AverageFFT(ws, folder, window, progress, run.host, jobs);
  return run;
}

const char kTitleLine[] =
    "Frequency:\tReal:\tImaginary:\tMagnitude:\tStandard Deviation:\tMinimum "
    "Magnitude:\tMaximum Magnitude:";

TEST(AverageFft, MagnitudesOneAndThreeGiveMeanTwoDeviationRootTwo) {
  TempFolder dir;
  WriteSamples(dir / "a.txt", Impulse(16, 1.0), 1e-6);
  WriteSamples(dir / "b.txt", Impulse(16, 3.0), 1e-6);
  AverageFftWorkspace ws;
  RunResult run = RunAverage(ws, dir.path());
  ASSERT_EQ(run.status, CalcStatus::kDone);
  EXPECT_TRUE(run.host.messages.empty());
  const auto lines = TableLines(AverageFftTablePath(dir.path()));
  ASSERT_EQ(lines.size(), 1u + 8u);  // title + bins 0..7, no Nyquist line
  EXPECT_EQ(lines[0], kTitleLine);
  EXPECT_EQ(lines[1],
            "0.000000e+000\t2.000000e+000\t0.000000e+000\t2.000000e+000\t1.414214e+000\t"
            "1.000000e+000\t3.000000e+000");
  for (size_t line = 2; line < lines.size(); ++line) {
    const auto v = Columns(lines[line]);
    ASSERT_EQ(v.size(), 7u);
    EXPECT_DOUBLE_EQ(v[kFrequency], (line - 1) * 1e6 / 16);
    EXPECT_NEAR(v[kMagnitude], 2.0, 1e-6);
    EXPECT_NEAR(v[kDeviation], std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(v[kMinimum], 1.0, 1e-6);
    EXPECT_NEAR(v[kMaximum], 3.0, 1e-6);
  }
  EXPECT_EQ(ws.averaged, 2);
}

struct GridCase {
  int samples;
  int rows;
};

class AverageFftGrid : public ::testing::TestWithParam<GridCase> {};

TEST_P(AverageFftGrid, RowsFrequenciesAndPreview) {
  const GridCase c = GetParam();
  TempFolder dir;
  WriteSamples(dir / "a.txt", Noise(c.samples, 1), 1e-7);
  WriteSamples(dir / "b.txt", Noise(c.samples, 2), 1e-7);
  AverageFftWorkspace ws;
  RunResult run = RunAverage(ws, dir.path());
  ASSERT_EQ(run.status, CalcStatus::kDone);
  const auto lines = TableLines(AverageFftTablePath(dir.path()));
  ASSERT_EQ(static_cast<int>(lines.size()), 1 + c.rows);
  const double df = 1.0 / (2 * c.rows * 1e-7);
  EXPECT_EQ(lines[2].substr(0, lines[2].find('\t')), FormatE(df));
  EXPECT_EQ(lines.back().substr(0, lines.back().find('\t')), FormatE((c.rows - 1) * df));

  // The preview plots every bin of the mean magnitude; its frequency label is the Nyquist
  // frequency per division (5 MHz / 40 = 1.25e+005), not the last plotted bin's.
  ASSERT_EQ(run.host.images.size(), 1u);
  EXPECT_EQ(run.host.images[0].title, "FFT-File");
  std::vector<Complex> series(c.rows);
  for (int i = 0; i < c.rows; ++i) series[i] = {ws.result.magnitude[i], 0.0};
  cv::Mat plot(300, c.rows, CV_8UC3);
  const double largest = PlotComplexSpectrum(plot, nullptr, series.data(), c.rows, {});
  const cv::Mat expected = MakeSpectrumChart(plot, 5e6, largest, "V/DIV]");
  const cv::Mat& shown = run.host.images[0].image;
  ASSERT_EQ(shown.size(), expected.size());
  EXPECT_EQ(cv::norm(shown, expected, cv::NORM_INF), 0.0);
  const cv::Mat saved = testing::ReadBmp24(AverageFftPreviewPath(dir.path()));
  ASSERT_FALSE(saved.empty());
  EXPECT_EQ(cv::norm(saved, shown, cv::NORM_INF), 0.0);
}

INSTANTIATE_TEST_SUITE_P(PaddedToPowerOfTwo, AverageFftGrid,
                         ::testing::Values(GridCase{1024, 512}, GridCase{1000, 512},
                                           GridCase{1025, 1024}, GridCase{4, 2}));

class AverageFftGate : public ::testing::TestWithParam<std::pair<int, const char*>> {};

// x[i] = i: bin 0 is the sum of what the gate keeps, 2400 + ... + 3399 with the gate, and
// 1 + ... + 4095 without (sample 0 is always read as 0).
TEST_P(AverageFftGate, KeepsSamples2400To3399At100ns) {
  TempFolder dir;
  std::vector<double> ramp(4096);
  for (int i = 0; i < 4096; ++i) ramp[i] = i;
  WriteSamples(dir / "ramp.txt", ramp, 1e-7);
  AverageFftWorkspace ws;
  RunResult run = RunAverage(ws, dir.path(), GetParam().first);
  ASSERT_EQ(run.status, CalcStatus::kDone);
  const auto lines = TableLines(AverageFftTablePath(dir.path()));
  ASSERT_EQ(lines.size(), 1u + 2048u);
  EXPECT_EQ(lines[1].substr(0, 14), "0.000000e+000\t");
  EXPECT_EQ(lines[1].substr(14, 13), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(WindowIndex, AverageFftGate,
                         ::testing::Values(std::pair{0, "8.386560e+006"},
                                           std::pair{1, "2.899500e+006"}));

TEST(AverageFft, ThreeFilesAverageToTheSpectrumOfTheirMean) {
  TempFolder dir;
  std::vector<std::vector<double>> signals;
  for (unsigned s = 0; s < 3; ++s) {
    signals.push_back(Noise(4096, 10 + s));
    WriteSamples(dir / ("w" + std::to_string(s) + ".txt"), signals.back(), 2e-7);
  }
  AverageFftWorkspace ws;
  ASSERT_EQ(RunAverage(ws, dir.path()).status, CalcStatus::kDone);

  std::vector<Complex> mean(4096);
  for (int i = 1; i < 4096; ++i)  // sample 0 reads as 0
    mean[i].re = (signals[0][i] + signals[1][i] + signals[2][i]) / 3.0;
  FFT(FftDirection::kForward, 12, mean.data());
  const auto lines = TableLines(AverageFftTablePath(dir.path()));
  ASSERT_EQ(lines.size(), 1u + 2048u);
  for (int i = 0; i < 2048; ++i) {
    const auto v = Columns(lines[1 + i]);
    EXPECT_NEAR(v[kReal], mean[i].re, 1e-6 * 40 + 1e-6 * std::abs(mean[i].re)) << i;
    EXPECT_NEAR(v[kImaginary], mean[i].im, 1e-6 * 40 + 1e-6 * std::abs(mean[i].im)) << i;
    EXPECT_LE(v[kMinimum], v[kMagnitude]);
    EXPECT_GE(v[kMaximum], v[kMagnitude]);
  }
}

// k*Q - A^2 of equal magnitudes rounds below zero in about a third of the bins; that must read
// as no spread (and the rest as rounding-sized spread), not as the root of a negative number.
TEST(AverageFft, IdenticalFilesHaveNoSpread) {
  TempFolder dir;
  for (const char* name : {"a.txt", "b.txt", "c.txt"})
    WriteSamples(dir / name, Noise(4096, 5), 1e-7);
  AverageFftWorkspace ws;
  ASSERT_EQ(RunAverage(ws, dir.path()).status, CalcStatus::kDone);
  const auto lines = TableLines(AverageFftTablePath(dir.path()));
  ASSERT_EQ(lines.size(), 1u + 2048u);
  for (size_t line = 1; line < lines.size(); ++line) {
    const auto v = Columns(lines[line]);
    ASSERT_LE(v[kDeviation], 1e-7 * v[kMagnitude]) << lines[line];  // false for nan
  }
}

// The plain per-file average, one file after the other; the read-ahead must match it bit for
// bit whatever the thread count.
AverageSpectrum LiteralAverage(const std::vector<std::string>& files, int& rows) {
  std::vector<Complex> s(MAX_SAMPLES);
  std::vector<double> a(MAX_SAMPLES), q(MAX_SAMPLES), lo(MAX_SAMPLES), hi(MAX_SAMPLES);
  std::vector<int> seen(MAX_SAMPLES, 0);
  int k = 0, n = 1;
  double dt = 0;
  Waveform wf;
  for (const std::string& path : files) {
    const int count = ReadWaveform(path, wf);
    if (count <= 0) continue;
    n = TransformSize(count).n;
    for (int i = count; i < n; ++i) wf.samples[i] = {};
    FFT(FftDirection::kForward, TransformSize(count).m, wf.samples.data());
    for (int i = 0; i < n / 2; ++i) {
      const double g = std::hypot(wf.samples[i].re, wf.samples[i].im);
      s[i].re += wf.samples[i].re;
      s[i].im += wf.samples[i].im;
      a[i] += g;
      q[i] += g * g;
      lo[i] = seen[i] ? std::min(lo[i], g) : g;
      hi[i] = seen[i] ? std::max(hi[i], g) : g;
      seen[i] = 1;
    }
    ++k;
    dt = wf.sampleInterval;
  }
  rows = n / 2;
  AverageSpectrum r;
  r.Allocate();
  for (int i = 0; i < rows; ++i) {
    r.frequency[i] = i * (1.0 / (2.0 * dt) / rows);
    r.real[i] = s[i].re / k;
    r.imaginary[i] = s[i].im / k;
    r.magnitude[i] = a[i] / k;
    r.deviation[i] = std::sqrt(std::max(0.0, k * q[i] - a[i] * a[i]) / (k * (k - 1.0)));
    r.minimum[i] = lo[i];
    r.maximum[i] = hi[i];
  }
  return r;
}

TEST(AverageFft, TableIsTheSameForEveryThreadCountAndMatchesThePlainLoop) {
  TempFolder dir;
  const int counts[] = {2048, 1500, 2048, 700, 2048, 2000, 1024, 2048, 1999, 2048, 2048, 1800};
  for (unsigned f = 0; f < std::size(counts); ++f) {
    const std::string name = (f < 10 ? "hit0" : "hit") + std::to_string(f) + ".txt";
    WriteSamples(dir / name, Noise(counts[f], 100 + f), 1e-7);
  }
  std::ofstream(dir / "hit05b.txt") << "too\nshort\n";  // no data: skipped

  AverageFftWorkspace ws;
  ASSERT_EQ(RunAverage(ws, dir.path(), 0, 1).status, CalcStatus::kDone);
  EXPECT_EQ(ws.averaged, 12);
  EXPECT_EQ(ws.skipped, 1);
  const std::string one_thread = ReadBytes(AverageFftTablePath(dir.path()));
  for (int jobs : {2, 3, 8}) {
    AverageFftWorkspace fresh;
    ASSERT_EQ(RunAverage(fresh, dir.path(), 0, jobs).status, CalcStatus::kDone);
    EXPECT_EQ(ReadBytes(AverageFftTablePath(dir.path())), one_thread) << jobs << " jobs";
  }

  int rows = 0;
  const AverageSpectrum expected = LiteralAverage(ListTxtFiles(dir.path()), rows);
  const std::string twin = (dir / "twin.table");
  ASSERT_TRUE(WriteAverageFFTFile(twin, expected, rows));
  EXPECT_EQ(ReadBytes(twin), one_thread);
}

TEST(AverageFft, SecondRunReportsItsOwnExtremes) {
  TempFolder loud, quiet;
  WriteSamples(loud / "a.txt", Impulse(4096, 100.0), 1e-7);
  WriteSamples(loud / "b.txt", Impulse(4096, 200.0), 1e-7);
  // The first file of the second run covers fewer bins than the last one: bins 512 and up get
  // their extremes from the longer file alone, not from the earlier run.
  WriteSamples(quiet / "a.txt", Impulse(1024, 1.0), 1e-7);
  WriteSamples(quiet / "b.txt", Impulse(4096, 3.0), 1e-7);
  AverageFftWorkspace ws;
  ASSERT_EQ(RunAverage(ws, loud.path(), 0, 2).status, CalcStatus::kDone);
  ASSERT_EQ(RunAverage(ws, quiet.path(), 0, 2).status, CalcStatus::kDone);
  const auto lines = TableLines(AverageFftTablePath(quiet.path()));
  ASSERT_EQ(lines.size(), 1u + 2048u);
  for (int i : {0, 1, 511}) {
    const auto v = Columns(lines[1 + i]);
    EXPECT_NEAR(v[kMinimum], 1.0, 1e-6) << i;
    EXPECT_NEAR(v[kMaximum], 3.0, 1e-6) << i;
  }
  for (int i : {512, 1000, 2047}) {
    const auto v = Columns(lines[1 + i]);
    EXPECT_NEAR(v[kMinimum], 3.0, 1e-6) << i;
    EXPECT_NEAR(v[kMaximum], 3.0, 1e-6) << i;
  }
}

class AverageFftEndsEarly : public ::testing::TestWithParam<int> {};

// Neither an oversized file nor a stop request may touch the results of an earlier run.
TEST_P(AverageFftEndsEarly, LeavesEarlierResultsInPlace) {
  const int jobs = GetParam();
  TempFolder dir;
  for (const char* name : {"a.txt", "b.txt", "c.txt"})
    WriteSamples(dir / name, Noise(512, name[0]), 1e-7);
  fs::create_directory(AverageFftFolder(dir.path()));
  std::ofstream(AverageFftTablePath(dir.path())) << "earlier table";
  std::ofstream(AverageFftPreviewPath(dir.path())) << "earlier preview";

  AverageFftWorkspace ws;
  RecordingHost host;
  StopAfter stop(2);
  EXPECT_EQ(AverageFFT(ws, dir.path(), 0, stop, host, jobs), CalcStatus::kStopped);
  EXPECT_EQ(stop.range, (std::pair{0, 3}));
  EXPECT_EQ(stop.positions, (std::vector<int>{1, 2}));
  EXPECT_TRUE(host.images.empty());

  WriteSamples(dir / "b2.txt", Noise(16385, 7), 1e-7);
  StopAfter never(100);
  EXPECT_EQ(AverageFFT(ws, dir.path(), 0, never, host, jobs), CalcStatus::kRefused);
  EXPECT_EQ(host.messages, std::vector<std::string>{
                               "Sampling size of 16385 exceeds program limit of 16384! "
                               "(--max-samples N raises the limit, up to 1048576)\n" +
                               (dir / "b2.txt") + ": 16385 sample lines; the run stops here."});
  EXPECT_EQ(never.positions, (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(host.images.empty());

  EXPECT_EQ(ReadBytes(AverageFftTablePath(dir.path())), "earlier table");
  EXPECT_EQ(ReadBytes(AverageFftPreviewPath(dir.path())), "earlier preview");
}

INSTANTIATE_TEST_SUITE_P(Jobs, AverageFftEndsEarly, ::testing::Values(1, 4));

// A file without a usable sample interval has no frequency grid: it is left out and named, and
// the table is that of the other files, whatever the thread count (a read-ahead slot must not
// lend it the interval of a file it held before). Strict, it stops the run by name, nothing
// written.
TEST(AverageFft, FileWithoutSampleIntervalIsSkippedByNameOrStopsAStrictRun) {
  TempFolder reference;
  WriteSamples(reference / "a.txt", Noise(256, 1), 1e-7);
  WriteSamples(reference / "c.txt", Noise(256, 3), 1e-7);
  WriteSamples(reference / "d.txt", Noise(256, 4), 1e-7);
  AverageFftWorkspace plain;
  ASSERT_EQ(RunAverage(plain, reference.path(), 1).status, CalcStatus::kDone);
  const std::string expected = ReadBytes(AverageFftTablePath(reference.path()));
  for (int jobs : {1, 3}) {
    for (bool strict : {false, true}) {
      SCOPED_TRACE("jobs " + std::to_string(jobs) + (strict ? " strict" : ""));
      TempFolder dir;
      for (const char* name : {"a.txt", "c.txt", "d.txt"})
        fs::copy_file(reference / name, dir / name);
      std::string text = ReadBytes(dir / "a.txt");
      const size_t line = text.find("SAMPLE INTERVAL");
      text.erase(line, text.find("\r\n", line) + 2 - line);
      std::ofstream(dir / "b.txt", std::ios::binary) << text;
      AverageFftWorkspace ws;
      ws.strict = strict;
      RunResult run = RunAverage(ws, dir.path(), 1, jobs);
      EXPECT_EQ(run.host.messages, std::vector<std::string>{
                                       "Sample interval of 0.000000e+000 s in " + (dir / "b.txt") +
                                       " is not allowed! The file needs a \"SAMPLE INTERVAL "
                                       "(Seconds):\" line with a value > 0!"});
      if (strict) {
        EXPECT_EQ(run.status, CalcStatus::kRefused);
        EXPECT_TRUE(run.host.images.empty());
        EXPECT_FALSE(fs::exists(AverageFftTablePath(dir.path())));
        EXPECT_FALSE(fs::exists(AverageFftPreviewPath(dir.path())));
      } else {
        EXPECT_EQ(run.status, CalcStatus::kDone);
        EXPECT_EQ(ws.averaged, 3);
        EXPECT_EQ(ws.skipped, 1);
        EXPECT_EQ(ReadBytes(AverageFftTablePath(dir.path())), expected);
      }
    }
  }
}

TEST(AverageFft, FolderOfHeaderlessRecordingsIsRefused) {
  const std::string source = std::string(PLEXO_REALDATA_DIR) + "/liu-aewin-headerless";
  if (!fs::exists(source)) GTEST_SKIP() << "real recordings not present";
  TempFolder dir;  // the run creates its result folder inside the input folder
  for (const auto& entry : fs::directory_iterator(source))
    fs::copy_file(entry.path(), dir / entry.path().filename().string());
  AverageFftWorkspace ws;
  RunResult run = RunAverage(ws, dir.path(), 0, 2);
  EXPECT_EQ(run.status, CalcStatus::kRefused);
  ASSERT_EQ(run.host.messages.size(), 1u);
  EXPECT_NE(run.host.messages[0].find(dir / "EXP1001_1_1031_27467421.txt"), std::string::npos)
      << run.host.messages[0];
  EXPECT_FALSE(fs::exists(AverageFftTablePath(dir.path())));
}

struct FolderCase {
  const char* name;
  void (*fill)(const TempFolder&);
  CalcStatus status;
  bool result_folder;
  int averaged;
  int skipped;
};

class AverageFftFolders : public ::testing::TestWithParam<FolderCase> {};

TEST_P(AverageFftFolders, EndWithoutATableUnlessAFileHoldsData) {
  const FolderCase c = GetParam();
  TempFolder dir;
  c.fill(dir);
  const std::string folder = c.result_folder ? dir.path() : dir / "missing";
  AverageFftWorkspace ws;
  RunResult run = RunAverage(ws, folder, 0, 2);
  EXPECT_EQ(run.status, c.status);
  // The files left out are named in one message.
  EXPECT_EQ(run.host.messages.size(), c.skipped > 0 ? 1u : 0u);
  EXPECT_EQ(fs::exists(AverageFftFolder(folder)), c.result_folder);
  EXPECT_EQ(ws.averaged, c.averaged);
  EXPECT_EQ(ws.skipped, c.skipped);
  const bool table = c.status == CalcStatus::kDone;
  EXPECT_EQ(fs::exists(AverageFftTablePath(folder)), table);
  EXPECT_EQ(run.host.images.size(), table ? 1u : 0u);
  if (table) {  // one file: no spread, written as 0 rather than 0/0
    for (const std::string& line : TableLines(AverageFftTablePath(folder))) {
      if (line == kTitleLine) continue;
      EXPECT_EQ(Columns(line)[kDeviation], 0.0) << line;
      EXPECT_EQ(Columns(line)[kMinimum], Columns(line)[kMaximum]) << line;
    }
  }
}

void Nothing(const TempFolder&) {}
void OnlySubfolders(const TempFolder& dir) {
  fs::create_directory(dir / "sub.txt");
  WriteSamples(dir / "sub.txt/inner.txt", Noise(64, 1), 1e-7);
}
void Unreadable(const TempFolder& dir) {
  std::ofstream(dir / "empty.txt");
  std::ofstream(dir / "short.TXT") << "SAMPLE INTERVAL (Seconds):   1e-7\n1\n2\n";
  std::ofstream(dir / "bad.txt") << "SAMPLE INTERVAL: 1e-7\n";  // malformed interval line: -1
  std::ofstream(dir / "notes.dat") << "not a waveform";
}
void OneGoodFile(const TempFolder& dir) {
  Unreadable(dir);
  WriteSamples(dir / "good.txt", Noise(100, 3), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, AverageFftFolders,
    ::testing::Values(FolderCase{"Missing", Nothing, CalcStatus::kRefused, false, 0, 0},
                      FolderCase{"Empty", Nothing, CalcStatus::kRefused, true, 0, 0},
                      FolderCase{"OnlySubfolders", OnlySubfolders, CalcStatus::kRefused, true, 0,
                                 0},
                      FolderCase{"Unreadable", Unreadable, CalcStatus::kRefused, true, 0, 3},
                      FolderCase{"OneGoodFile", OneGoodFile, CalcStatus::kDone, true, 1, 3}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plexo
