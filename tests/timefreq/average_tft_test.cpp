#include "timefreq/average_tft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/recording_host.h"
#include "platform/result_files.h"
#include "signal/number_text.h"
#include "signal/waveform_file.h"
#include "support/temp_dir.h"
#include "timefreq/align_on_threshold.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr double kDt = 1e-7;
// The average is written with six decimals.
constexpr double kFileRounding = 1e-6;

WaveformHeader Header(int channel, double dt = kDt) {
  WaveformHeader header;
  header.channel = channel;
  header.timeOfTest = 0.5 * channel;
  header.sampleInterval = dt;
  header.units = "mV";
  header.date = "01.02.2024";
  header.time = "10:0" + std::to_string(channel);
  return header;
}

void WriteSignal(const std::string& path, const std::vector<double>& x,
                 const WaveformHeader& header) {
  ASSERT_TRUE(WriteWaveform(path, x.data(), static_cast<int>(x.size()), header));
}

std::vector<double> Burst(int count, double frequency, double decay, int onset = 0) {
  std::vector<double> x(count, 0.0);
  for (int k = onset; k < count; ++k)
    x[k] = std::sin(frequency * (k - onset)) * std::exp(-(k - onset) / decay);
  return x;
}

// The samples as the calculation sees them (the reader's own rules applied).
std::vector<Complex> ReadBack(const std::string& path, WaveformHeader* header = nullptr) {
  Waveform wf;
  const int count = ReadWaveform(path, wf);
  if (header != nullptr) *header = wf;
  return std::vector<Complex>(wf.samples.begin(), wf.samples.begin() + std::max(count, 0));
}

// A progress sink that records what it was told and can ask to stop after a given file.
class RecordingProgress : public CalcProgress {
 public:
  void SetRange(int low, int high) override { range = {low, high}; }
  void SetPos(int pos) override { positions.push_back(pos); }
  void DrainMessages() override { ++drains; }
  bool StopRequested() const override {
    return stopAfter > 0 && static_cast<int>(positions.size()) >= stopAfter;
  }
  std::pair<int, int> range{-1, -1};
  std::vector<int> positions;
  int drains = 0;
  int stopAfter = 0;
};

struct AverageRun {
  RecordingHost host;
  RecordingProgress progress;
  std::unique_ptr<AverageTftWorkspace> workspace = std::make_unique<AverageTftWorkspace>();
  std::vector<TftRequest> singleRequests;
  TftRequest grid;
  double threshold = 0.5;
  bool autoThreshold = false;

  AverageRun() {
    grid.path = "ignored";
    grid.freqRes = 1e4;
    grid.freqStart = 1e4;
    grid.freqEnd = 1e6;
    grid.timeRes = 5e-7;
    grid.timeStart = 0.0;
    grid.timeEnd = 1.0;
    grid.output = TftOutput::kComplex;
    grid.waveletLength = 301;
  }

  CalcStatus Go(const std::string& folder) {
    return AverageTft(*workspace, folder, grid, threshold, autoThreshold, progress, host,
                      [this](const TftRequest& request, ResultFiles&) {
                        singleRequests.push_back(request);
                        return CalcStatus::kDone;
                      });
  }
};

void ExpectSamplesNear(const std::vector<Complex>& actual, const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i)
    ASSERT_NEAR(actual[i].re, expected[i], kFileRounding) << "sample " << i;
}

TEST(AverageTft, ThreeFilesGiveTheMeanOfTheirGatedWaveformsAndRunTheSingleTransform) {
  TempDir dir;
  WriteSignal(dir.File("a.txt"), Burst(4096, 0.20, 400.0), Header(1));
  WriteSignal(dir.File("b.TXT"), Burst(4096, 0.05, 900.0, 100), Header(2));
  WriteSignal(dir.File("c.txt"), Burst(4096, 0.31, 250.0, 40), Header(3));
  WriteBytes(dir.File("notes.dat"), "not a waveform");
  AverageRun run;
  run.grid.timeStart = 2.5 * kDt;  // zeroes samples 0, 1, 2
  run.grid.timeEnd = 4e-4;         // zeroes samples 4000 .. 4095
  ASSERT_EQ(run.Go(dir.path()), CalcStatus::kDone);
  EXPECT_TRUE(run.host.messages.empty());

  std::vector<double> expected(4096, 0.0);
  for (const char* name : {"a.txt", "b.TXT", "c.txt"}) {
    const std::vector<Complex> x = ReadBack(dir.File(name));
    for (int i = 3; i < 4000; ++i) expected[i] += x[i].re / 3.0;
  }
  const std::string average = dir.File("avgWTData/average_signal.txt");
  WaveformHeader header;
  ExpectSamplesNear(ReadBack(average, &header), expected);
  EXPECT_EQ(header.channel, 3);
  EXPECT_EQ(header.timeOfTest, 1.5);
  // The texts as the reader took them from c.txt; the writer puts a tab after each key.
  WaveformHeader last;
  ReadBack(dir.File("c.txt"), &last);
  EXPECT_EQ(last.time, "\t10:03");
  EXPECT_EQ(header.date, "\t" + last.date);
  EXPECT_EQ(header.time, "\t" + last.time);
  EXPECT_EQ(header.units, "\t" + last.units);
  EXPECT_EQ(run.workspace->averaged, 3);

  EXPECT_EQ(run.progress.range, std::make_pair(0, 3));
  EXPECT_EQ(run.progress.positions, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(run.progress.drains, 3);

  ASSERT_EQ(run.singleRequests.size(), 1u);
  const TftRequest& request = run.singleRequests[0];
  EXPECT_EQ(request.path, average);
  EXPECT_EQ(request.timeRes, kDt);  // the files' interval, not the grid's 5e-7
  EXPECT_EQ(request.timeStart, run.grid.timeStart);
  EXPECT_EQ(request.timeEnd, run.grid.timeEnd);
  EXPECT_EQ(request.freqRes, run.grid.freqRes);
  EXPECT_EQ(request.output, TftOutput::kComplex);
  EXPECT_EQ(request.waveletLength, 301);
}

TEST(AverageTft, OneFileReproducesItsGatedAndAlignedWaveform) {
  TempDir dir;
  // Quiet until sample 300, where it first exceeds the threshold.
  std::vector<double> x = Burst(4096, 0.2, 500.0, 299);
  for (int i = 1; i < 299; ++i) x[i] = 0.01 * std::sin(0.3 * i);
  x[300] = 1.0;
  WriteSignal(dir.File("only.txt"), x, Header(7));
  const std::vector<Complex> read = ReadBack(dir.File("only.txt"));

  for (int align : {0, 1}) {
    SCOPED_TRACE(align);
    AverageRun run;
    run.grid.timeEnd = 4e-4;  // alignment target 800: a delay of 500
    run.autoThreshold = align == 1;
    ASSERT_EQ(run.Go(dir.path()), CalcStatus::kDone);
    std::vector<double> expected(4096, 0.0);
    for (int i = 0; i < 4000; ++i) expected[i] = read[i].re;
    if (align == 1) {
      std::vector<double> delayed(4096, 0.0);
      for (int i = 500; i < 4096; ++i) delayed[i] = expected[i - 500];
      expected = delayed;
    }
    ExpectSamplesNear(ReadBack(dir.File("avgWTData/average_signal.txt")), expected);
  }
}

TEST(AverageTft, ShorterFileAddsNothingBeyondItsOwnTransform) {
  TempDir dir;
  WriteSignal(dir.File("a.txt"), Burst(8192, 0.2, 3000.0), Header(1));
  WriteSignal(dir.File("b.txt"), std::vector<double>(4096, 0.0), Header(2));
  WriteSignal(dir.File("c.txt"), std::vector<double>(8192, 0.0), Header(3));
  AverageRun run;
  ASSERT_EQ(run.Go(dir.path()), CalcStatus::kDone);
  std::vector<double> expected(8192);
  const std::vector<Complex> a = ReadBack(dir.File("a.txt"));
  for (int i = 0; i < 8192; ++i) expected[i] = a[i].re / 3.0;
  ExpectSamplesNear(ReadBack(dir.File("avgWTData/average_signal.txt")), expected);
}

TEST(AverageTft, RejectedFilesAreSkippedAndLeaveNothingBehind) {
  TempDir dir;
  const std::vector<double> a = Burst(2048, 0.2, 400.0);
  WriteSignal(dir.File("a.txt"), a, Header(1));
  // Fewer than nine lines, but a channel line: the reader rejects it after taking the channel.
  WriteBytes(dir.File("b.txt"), "CHANNEL NUMBER:\t9\r\nTIME OF TEST:\t7.0\r\n");
  WriteSignal(dir.File("c.txt"), std::vector<double>(2048, 0.0), Header(3));
  WriteBytes(dir.File("d.txt"), "CHANNEL NUMBER:\t9\r\n");
  AverageRun run;
  ASSERT_EQ(run.Go(dir.path()), CalcStatus::kDone);
  // Both named, in one message.
  const std::string why =
      ": no waveform samples (they start on line 10) or a malformed "
      "\"SAMPLE INTERVAL (Seconds):\" line! The file is skipped.";
  EXPECT_EQ(run.host.messages,
            std::vector<std::string>{dir.File("b.txt") + why + "\n" + dir.File("d.txt") + why});
  EXPECT_EQ(run.workspace->averaged, 2);
  EXPECT_EQ(run.workspace->skipped, 2);
  EXPECT_EQ(run.progress.positions, (std::vector<int>{1, 2, 3, 4}));

  std::vector<double> expected(2048);
  const std::vector<Complex> read = ReadBack(dir.File("a.txt"));
  for (int i = 0; i < 2048; ++i) expected[i] = read[i].re / 2.0;
  WaveformHeader header;
  ExpectSamplesNear(ReadBack(dir.File("avgWTData/average_signal.txt"), &header), expected);
  EXPECT_EQ(header.channel, 3);
  EXPECT_EQ(header.timeOfTest, 1.5);
}

// Runs that end without an average: nothing written, an earlier average kept, no transform.
struct EndWithoutAverageCase {
  const char* name;
  const char* message;  // empty: no message
  CalcStatus status;
  int stopAfter;
  bool oversizedFile;
  bool onlyRejectedFiles;
};

class AverageTftEndsWithoutAverage : public ::testing::TestWithParam<EndWithoutAverageCase> {};

TEST_P(AverageTftEndsWithoutAverage, WritesNothingAndKeepsAnEarlierAverage) {
  const EndWithoutAverageCase& c = GetParam();
  TempDir dir;
  std::filesystem::create_directory(dir.File("avgWTData"));
  const std::string earlier = dir.File("avgWTData/average_signal.txt");
  WriteBytes(earlier, "an earlier average");
  if (c.onlyRejectedFiles) {
    WriteBytes(dir.File("a.txt"), "too short\r\n");
  } else {
    WriteSignal(dir.File("a.txt"), Burst(1024, 0.2, 100.0), Header(1));
    WriteSignal(dir.File("b.txt"), Burst(c.oversizedFile ? 20000 : 1024, 0.3, 100.0), Header(2));
    WriteSignal(dir.File("c.txt"), Burst(1024, 0.4, 100.0), Header(3));
  }
  AverageRun run;
  run.progress.stopAfter = c.stopAfter;
  EXPECT_EQ(run.Go(dir.path()), c.status);
  if (*c.message == '\0') {
    EXPECT_TRUE(run.host.messages.empty());
  } else {
    // The fixed text first; the lines after it name the file or the folder.
    ASSERT_FALSE(run.host.messages.empty());
    const std::string& last = run.host.messages.back();
    EXPECT_EQ(last.substr(0, last.find('\n')), c.message);
    EXPECT_NE(last.find('\n'), std::string::npos) << last;
  }
  EXPECT_EQ(ReadBytes(earlier), "an earlier average");
  EXPECT_TRUE(run.singleRequests.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AverageTftEndsWithoutAverage,
    ::testing::Values(
        EndWithoutAverageCase{"OversizedFile",
                              "Sampling size of 20000 exceeds program limit of 16384!",
                              CalcStatus::kRefused, 0, true, false},
        EndWithoutAverageCase{"StopRequested", "", CalcStatus::kStopped, 2, false, false},
        EndWithoutAverageCase{"NoReadableFile",
                              "No valid data present in folder or error during loading!",
                              CalcStatus::kRefused, 0, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

// The transform reads the average back from its file: when that cannot be written (here the
// result folder is a file) the user is told, and the transform does not run.
TEST(AverageTft, UnwritableAverageIsReported) {
  TempDir dir;
  WriteSignal(dir.File("a.txt"), Burst(1024, 0.2, 100.0), Header(1));
  WriteBytes(dir.File("avgWTData"), "a file where the folder should be");
  AverageRun run;
  EXPECT_EQ(run.Go(dir.path()), CalcStatus::kFailed);
  EXPECT_EQ(run.host.messages, std::vector<std::string>{"Folder " + dir.File("avgWTData") +
                                                        " cannot be created: File exists!"});
  EXPECT_TRUE(run.singleRequests.empty());
}

TEST(AverageTft, EmptyOrMissingFolder) {
  TempDir dir;
  AverageRun empty;
  EXPECT_EQ(empty.Go(dir.path()), CalcStatus::kRefused);
  EXPECT_EQ(empty.host.messages,
            std::vector<std::string>{"No valid data present in folder or error during loading!\n" +
                                     dir.path() + " holds no *.txt file."});
  EXPECT_FALSE(Exists(dir.File("avgWTData/average_signal.txt")));

  AverageRun missing;
  EXPECT_EQ(missing.Go(dir.File("no-such-folder")), CalcStatus::kRefused);
  EXPECT_TRUE(missing.host.messages.empty());
  EXPECT_FALSE(Exists(dir.File("no-such-folder")));
  EXPECT_TRUE(missing.singleRequests.empty());
}

// Files on another sample interval or count than the first file averaged are averaged all the
// same, and each is named with both grids; a strict run stops at the first file left out.
TEST(AverageTft, FilesOnAnotherGridAreNamedAndStrictStopsAtAFileLeftOut) {
  TempDir dir;
  WriteSignal(dir.File("a.txt"), Burst(1024, 0.2, 100.0), Header(1));
  WriteSignal(dir.File("b.txt"), Burst(1024, 0.3, 100.0), Header(2, 2 * kDt));
  WriteSignal(dir.File("c.txt"), Burst(1024, 0.4, 100.0), Header(3));
  WriteSignal(dir.File("d.txt"), Burst(512, 0.4, 100.0), Header(4));
  AverageRun run;
  ASSERT_EQ(run.Go(dir.path()), CalcStatus::kDone);
  EXPECT_EQ(run.workspace->averaged, 4);
  const std::string first = ", the first file " + dir.File("a.txt") + ": 1024 samples at " +
                            FormatE(kDt) + " s; the waveforms are averaged all the same.";
  EXPECT_EQ(run.host.messages,
            std::vector<std::string>{dir.File("b.txt") + ": 1024 samples at " + FormatE(2 * kDt) +
                                     " s" + first + "\n" + dir.File("d.txt") + ": 512 samples at " +
                                     FormatE(kDt) + " s" + first});

  WriteBytes(dir.File("b0.txt"), "not a waveform\r\n");
  AverageRun strict;
  strict.workspace->strict = true;
  EXPECT_EQ(strict.Go(dir.path()), CalcStatus::kRefused);
  ASSERT_EQ(strict.host.messages.size(), 1u);
  EXPECT_EQ(strict.host.messages[0].find(dir.File("b0.txt") + ": no waveform samples"), 0u)
      << strict.host.messages[0];
  EXPECT_TRUE(strict.singleRequests.empty());
}

// The second line of the grid refusal names the first value that breaks the grid.
struct GridProblemCase {
  const char* name;
  void (*change)(TftRequest&);
  const char* expected;
};

class TftGridProblemCases : public ::testing::TestWithParam<GridProblemCase> {};

TEST_P(TftGridProblemCases, NamesTheParameterAndItsValue) {
  TftRequest grid;
  grid.timeStart = 1e-5;
  grid.timeEnd = 4e-4;
  grid.timeRes = 1e-7;
  grid.freqStart = 0;
  grid.freqEnd = 1e6;
  grid.freqRes = 1e4;
  EXPECT_EQ(TftGridProblem(grid), "");
  GetParam().change(grid);
  ASSERT_FALSE(TftGridIsConsistent(grid));
  EXPECT_EQ(TftGridProblem(grid), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, TftGridProblemCases,
    ::testing::Values(GridProblemCase{"NegativeStart", [](TftRequest& r) { r.timeStart = -1e-5; },
                                      "time start = -1.000000e-005 s: must be 0 or more."},
                      GridProblemCase{"Reversed", [](TftRequest& r) { r.timeEnd = 1e-6; },
                                      "time end = 1.000000e-006 s: must not be before time start "
                                      "(1.000000e-005 s)."},
                      GridProblemCase{"NanTimeRes", [](TftRequest& r) { r.timeRes = std::nan(""); },
                                      "time resolution = nan s: must be above 0."},
                      GridProblemCase{
                          "ReversedBand", [](TftRequest& r) { r.freqStart = 2e6; },
                          "frequency end = 1.000000e+006 Hz: must not be below frequency start "
                          "(2.000000e+006 Hz)."},
                      GridProblemCase{"ZeroFreqRes", [](TftRequest& r) { r.freqRes = 0; },
                                      "frequency resolution = 0.000000e+000 Hz: must be above 0."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plexo
