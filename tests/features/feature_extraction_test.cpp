// The feature run over folders: whole rows against the plain computation, the table's layout,
// progress, refusals that leave an earlier table alone, and independence of the thread count.
#include "features/feature_extraction.h"

#include <gtest/gtest.h>

#include <sstream>

#include "feature_reference.h"
#include "feature_test_data.h"
#include "platform/recording_host.h"
#include "signal/number_text.h"
#include "signal/waveform_file.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::BurstSamples;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using testing::WriteWaveformFile;

class RecordingProgress : public CalcProgress {
 public:
  void SetRange(int low, int high) override { range = {low, high}; }
  void SetPos(int pos) override { positions.push_back(pos); }
  void DrainMessages() override {}
  bool StopRequested() const override { return false; }
  std::pair<int, int> range{-1, -1};
  std::vector<int> positions;
};

// A short grid so that the plain computation stays quick.
FeatureRequest SmallRequest(const std::string& folder) {
  FeatureRequest r;
  r.folder = folder;
  r.settings.timeStart = 20e-6;
  r.settings.timeEnd = 60e-6;
  r.settings.duration = 30e-6;
  r.settings.freqEnd = 1e6;
  r.settings.freqResolution = 20e3;
  r.settings.waveletLength = 201;
  r.columns.set();
  r.jobs = 2;
  return r;
}

std::vector<std::vector<double>> ReadTable(const std::string& text) {
  std::vector<std::vector<double>> rows;
  std::istringstream in(text);
  std::string line;
  for (int k = 0; std::getline(in, line); ++k) {
    if (k < 2) continue;
    std::vector<double> row;
    std::istringstream fields(line);
    std::string field;
    while (std::getline(fields, field, '\t')) {
      if (field != "\r") row.push_back(ParseDouble(field));
    }
    rows.push_back(row);
  }
  return rows;
}

// Rows against the plain computation: positions, times and the time-domain values exactly,
// spectral and wavelet magnitudes within the rounding of the fast transforms and the printout.
class WholeRowTest : public ::testing::TestWithParam<bool> {};

TEST_P(WholeRowTest, RowsMatchThePlainComputation) {
  TempDir dir;
  const double dt = 1e-7;
  for (int k = 0; k < 3; ++k) {
    WriteWaveformFile(dir / ("w" + std::to_string(k) + ".txt"),
                      BurstSamples(1000, 250 + 40 * k, 150e3 + 100e3 * k, 420e3, dt, k + 1), dt,
                      3.5 + k);
  }
  FeatureRequest request = SmallRequest(dir.path());
  request.settings.useAic = GetParam();
  RecordingHost host;
  RecordingProgress progress;
  ASSERT_EQ(ExtractFeatures(*std::make_unique<FeatureWorkspace>(), request, progress, host),
            CalcStatus::kDone);
  const auto rows = ReadTable(ReadBytes(FeatureResultsPath(dir.path())));
  ASSERT_EQ(rows.size(), 3u);
  const FeatureSettings& settings = request.settings;
  for (int k = 0; k < 3; ++k) {
    Waveform wf;
    const int count = ReadWaveform(dir / ("w" + std::to_string(k) + ".txt"), wf);
    std::vector<double> x(count);
    for (int i = 0; i < count; ++i) x[i] = wf.samples[i].re;
    const FeatureValues expected = testing::ReferenceFeatures(x, dt, wf.timeOfTest, settings);
    ASSERT_EQ(rows[k].size(), 25u);
    for (int c = 0; c < kFeatureColumnCount; ++c) {
      const double want =
          ParseDouble(FormatE(expected.Column(c), FeatureColumnTable()[c].precision));
      SCOPED_TRACE("file " + std::to_string(k) + " column " + FeatureColumnTable()[c].header);
      if (c == kColArrivalTime || c == kColModulusMaximumTime) {
        // Times in samples after the time of test: a relative tolerance at a time of test of
        // seconds would hide a pick several samples off.
        EXPECT_NEAR((rows[k][c] - wf.timeOfTest) / dt, (want - wf.timeOfTest) / dt, 1e-3);
      } else {
        EXPECT_NEAR(rows[k][c], want, std::fabs(want) * 2e-6);
      }
    }
    if (request.settings.useAic) {
      EXPECT_GT(rows[k][kColArrivalTime], wf.timeOfTest);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(FixedAndPickedWindow, WholeRowTest, ::testing::Bool());

TEST(FeatureTableTest, HeaderAndUnitsOfTheDefaultAndATwoColumnSelection) {
  EXPECT_EQ(FeatureHeaderLines(DefaultFeatureColumns(), false),
            "maximum signal amplitude\tsignal energy\tpeak frequency 1\tpeak frequency 2\t"
            "peak frequency 3\tweighted peak frequency 1\tweighted peak frequency 2\t"
            "weighted peak frequency 3\tfrequency centroid\tpartial power 1\tpartial power 2\t"
            "partial power 3\tpartial power 4\tpartial power 5\tpartial power 6\t\n"
            "V\tJ\tHz\tHz\tHz\tHz\tHz\tHz\tHz\t%\t%\t%\t%\t%\t%\t\n");
  FeatureColumns two;
  two.set(kColPeakAmplitude).set(kColSignalEnergy);
  EXPECT_EQ(FeatureHeaderLines(two, false), "maximum signal amplitude\tsignal energy\t\nV\tJ\t\n");

  FeatureValues values;
  values[kColPeakAmplitude] = 0.5;
  values[kColSignalEnergy] = 1.25e-9;
  values[kColArrivalTime] = 12.5;
  std::string row;
  AppendFeatureRow(row, values, two.set(kColArrivalTime), nullptr);
  EXPECT_EQ(row, "1.25000000000000e+001\t5.000000e-001\t1.250000e-009\t\n");
}

TEST(FeatureRunTest, WritesCrLfLinesAndReplacesAnEarlierTable) {
  TempDir dir;
  WriteWaveformFile(dir / "a.txt", BurstSamples(600, 100, 200e3, 500e3, 1e-7, 1), 1e-7, 1.0);
  FeatureRequest request;
  request.folder = dir.path();
  request.settings.timeStart = 0.0;
  request.settings.timeEnd = 50e-6;
  request.columns.reset().set(kColPeakAmplitude).set(kColSignalEnergy);
  RecordingHost host;
  NullProgress progress;
  FeatureWorkspace ws;
  ASSERT_EQ(ExtractFeatures(ws, request, progress, host), CalcStatus::kDone);
  ASSERT_EQ(ExtractFeatures(ws, request, progress, host), CalcStatus::kDone);
  const std::string text = ReadBytes(FeatureResultsPath(dir.path()));
  EXPECT_EQ(text.rfind("maximum signal amplitude\tsignal energy\t\r\nV\tJ\t\r\n", 0), 0u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
  EXPECT_TRUE(host.messages.empty());
}

TEST(FeatureRunTest, ProgressRangeAndPositionsFor1500Files) {
  TempDir dir;
  const std::string tiny = "a\nb\nSAMPLE INTERVAL (Seconds):   1e-7\nc\nd\ne\nf\ng\nh\n0\n1\n0\n";
  char name[32];
  for (int k = 0; k < 1500; ++k) {
    std::snprintf(name, sizeof name, "f%04d.txt", k);
    WriteBytes(dir / name, tiny);
  }
  FeatureRequest request;
  request.folder = dir.path();
  RecordingHost host;
  RecordingProgress progress;
  ASSERT_EQ(ExtractFeatures(*std::make_unique<FeatureWorkspace>(), request, progress, host),
            CalcStatus::kDone);
  EXPECT_EQ(progress.range, std::make_pair(0, 150));
  std::vector<int> expected(151);
  for (int i = 0; i <= 150; ++i) expected[i] = i;
  EXPECT_EQ(progress.positions, expected);  // each position once, in order
  EXPECT_EQ(FeatureProgressDivisor(1000), 1);
  EXPECT_EQ(FeatureProgressDivisor(10001), 100);
  EXPECT_EQ(FeatureProgressDivisor(1000001), 10000);
}

// Files that stop the run (a waveform over the sample limit; with strict, any file the reader
// refuses): the message names the problem and the file, nothing is written and an earlier table
// stays as it was.
struct RefusalCase {
  const char* name;
  std::string thirdFile;
  std::string message;
  bool strict = true;
};

class RefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusalTest, StopsWithoutTouchingTheEarlierTable) {
  TempDir dir;
  WriteWaveformFile(dir / "1.txt", BurstSamples(300, 50, 200e3, 500e3, 1e-7, 1), 1e-7, 1.0);
  WriteWaveformFile(dir / "2.txt", BurstSamples(300, 50, 200e3, 500e3, 1e-7, 2), 1e-7, 1.0);
  WriteBytes(dir / "3.txt", GetParam().thirdFile);
  WriteWaveformFile(dir / "4.txt", BurstSamples(300, 50, 200e3, 500e3, 1e-7, 4), 1e-7, 1.0);
  std::filesystem::create_directory(dir / "FXData");
  WriteBytes(FeatureResultsPath(dir.path()), "earlier table");
  FeatureRequest request;
  request.folder = dir.path();
  request.jobs = 3;
  request.strict = GetParam().strict;
  RecordingHost host;
  NullProgress progress;
  EXPECT_EQ(ExtractFeatures(*std::make_unique<FeatureWorkspace>(), request, progress, host),
            CalcStatus::kRefused);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].substr(0, GetParam().message.size()), GetParam().message);
  EXPECT_NE(host.messages[0].find(dir / "3.txt"), std::string::npos) << host.messages[0];
  EXPECT_EQ(ReadBytes(FeatureResultsPath(dir.path())), "earlier table");
}

std::string LongFile(int samples) {
  std::string text =
      "SOURCE\nDATE:\t\nTIME:\t\nSAMPLE INTERVAL (Seconds):   1.0e-007\nUNITS:\t\n"
      "CHANNEL NUMBER:\t1\nHIT\nTIME OF TEST:\t1.0\n\n";
  for (int i = 0; i < samples; ++i) text += "0.001\n";
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    BadThirdFile, RefusalTest,
    ::testing::Values(RefusalCase{"TooLong", LongFile(20000),
                                  "Sampling size of 20000 exceeds program limit of 16384!", false},
                      RefusalCase{"BadIntervalLine", "a\nb\nc\nSAMPLE INTERVAL 1e-7\n",
                                  "No valid data present in file or error during loading!"},
                      RefusalCase{"NoSamples", "1\n2\n3\n", "No valid data present in file"},
                      RefusalCase{"ZeroInterval",
                                  "a\nb\nc\nSAMPLE INTERVAL (Seconds):   0\ne\nf\ng\nh\ni\n1\n2\n",
                                  "Sample interval of 0.000000e+000 s is not allowed!"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FeatureRunTest, RefusesAMissingFolderAndAnOversizedWaveletGrid) {
  RecordingHost host;
  NullProgress progress;
  FeatureWorkspace ws;
  FeatureRequest request;
  request.folder = "";
  EXPECT_EQ(ExtractFeatures(ws, request, progress, host), CalcStatus::kRefused);
  TempDir dir;
  request.folder = dir.path();
  request.columns.set(kColModulusMaximum);
  request.settings.freqResolution = 1e3;  // 1000 rows
  EXPECT_EQ(ExtractFeatures(ws, request, progress, host), CalcStatus::kRefused);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0], kFeatureNoFilesMessage);
  EXPECT_EQ(host.messages[1], "Frequency grid of 1000 rows exceeds program limit of 511!");
  EXPECT_FALSE(testing::Exists(dir / "FXData"));
}

TEST(FeatureRunTest, TableDoesNotDependOnTheThreadCount) {
  TempDir dir;
  for (int k = 0; k < 12; ++k) {
    WriteWaveformFile(dir / ("w" + std::to_string(k) + ".txt"),
                      BurstSamples(700 + 37 * k, 100 + 13 * k, 120e3 + 30e3 * k, 610e3, 1e-7, k),
                      1e-7, k * 0.25);
  }
  std::string first;
  for (int jobs : {1, 2, 3, 5}) {
    FeatureRequest request = SmallRequest(dir.path());
    request.settings.useAic = true;
    request.withFileNames = true;
    request.jobs = jobs;
    RecordingHost host;
    NullProgress progress;
    ASSERT_EQ(ExtractFeatures(*std::make_unique<FeatureWorkspace>(), request, progress, host),
              CalcStatus::kDone);
    const std::string text = ReadBytes(FeatureResultsPath(dir.path()));
    if (first.empty()) {
      first = text;
      EXPECT_NE(text.find("\r\nw10.txt\t"), std::string::npos);
    } else {
      EXPECT_EQ(text, first) << jobs << " threads";
    }
  }
}

}  // namespace
}  // namespace plexo
