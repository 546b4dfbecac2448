// Importing files into the waveform layout: what is written, and what is refused.
#include "import/waveform_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "import/import_reference.h"
#include "platform/file_system.h"
#include "signal/waveform_file.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

struct ImportRun {
  CalcStatus status;
  ImportSummary summary;
  std::string log;
};

ImportRun Import(const std::vector<std::string>& inputs, const std::string& target,
                 ImportOptions options = {}, bool force = false) {
  ImportRequest request{inputs, target, options, force, {}};
  NullProgress progress;
  ImportRun run;
  run.status = ImportWaveforms(
      request, progress, [&](std::string_view line) { run.log += std::string(line) + "\n"; },
      run.summary);
  return run;
}

// Every sample of a waveform file, none forced to zero.
std::vector<double> SamplesOf(const std::string& path) {
  std::vector<double> samples;
  double dt = 0, tot = 0;
  int channel = 0;
  const int count = ReadWaveformBasic(path, samples, dt, tot, channel);
  samples.resize(count < 0 ? 0 : std::min(count, MAX_SAMPLES));
  return samples;
}

// The writer keeps every digit: the file reads back as the same doubles.
void ExpectSameSamples(const std::vector<double>& got, const std::vector<double>& expected) {
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], expected[i]) << i;
}

TEST(WaveformImport, WritesTheWaveformLayoutThatReadsBackAsTheSource) {
  TempDir dir;
  std::filesystem::create_directory(dir / "in");
  WriteBytes(dir / "in/EXP1_2_17_1500000.txt", "0.1\r\n-0,00274658\r\n9.99938965\r\n");
  ImportOptions options;
  options.sampleInterval = 2e-7;
  const ImportRun run = Import({dir / "in"}, dir / "out", options);
  ASSERT_EQ(run.status, CalcStatus::kDone) << run.log;
  EXPECT_NE(run.log.find("EXP1_2_17_1500000.txt: headerless column of samples, 3 samples, hit 17"),
            std::string::npos)
      << run.log;
  const std::string out = dir / "out/EXP1_2_17_1500000.txt";
  EXPECT_EQ(ReadBytes(out),
            "SOURCE FILE NAME: -/-\r\nDATE:\t\r\nTIME:\t\r\n"
            "SAMPLE INTERVAL (Seconds):   2e-07\r\nUNITS:\tvolts\r\nCHANNEL NUMBER:\t2\r\n"
            "HIT NUMBER:\t17\r\nTIME OF TEST:\t1.5\r\n\r\n"
            "0.1\r\n-0.00274658\r\n9.99938965\r\n");
  Waveform wf;
  ASSERT_EQ(ReadWaveform(out, wf), 3);
  EXPECT_EQ(wf.sampleInterval, 2e-7);
  EXPECT_EQ(wf.channel, 2);
  EXPECT_EQ(wf.timeOfTest, 1.5);
}

TEST(WaveformImport, LongFilesAreWrittenWhole) {
  TempDir dir;
  std::string text;
  std::vector<double> expected;
  for (int i = 0; i < MAX_SAMPLES + 100; ++i) {
    expected.push_back(std::sin(0.01 * i));
    text += std::to_string(expected.back()) + "\n";
  }
  WriteBytes(dir / "long.txt", text);
  ImportOptions options;
  options.sampleInterval = 1e-7;
  const ImportRun run = Import({dir / "long.txt"}, dir / "out", options);
  ASSERT_EQ(run.status, CalcStatus::kDone) << run.log;
  EXPECT_NE(run.log.find("long.txt: warning: 16484 samples"), std::string::npos) << run.log;
  Waveform wf;
  EXPECT_EQ(ReadWaveform(dir / "out/long.txt", wf), MAX_SAMPLES + 100);
  const std::vector<double> back = testing::ColumnOf(ReadBytes(dir / "out/long.txt"), 9, 0);
  ExpectSameSamples(back, testing::ColumnOf(text, 0, 0));
}

TEST(WaveformImport, NeverReplacesWithoutForceNorMixesWithItsSources) {
  TempDir dir;
  std::filesystem::create_directory(dir / "in");
  WriteBytes(dir / "in/a.txt", "1\n2\n");
  WriteBytes(dir / "in/a.csv", "3\n4\n");  // the same output name as a.txt
  WriteBytes(dir / "in/listing.txt", "Express-8 (r) Location Version\n");
  WriteBytes(dir / "in/notes.md", "1\n");  // not an export: not looked at
  ImportOptions options;
  options.sampleInterval = 1e-6;

  ImportRun run = Import({dir / "in"}, dir / "in", options);
  EXPECT_EQ(run.status, CalcStatus::kRefused);
  EXPECT_NE(run.log.find("source folder"), std::string::npos) << run.log;
  EXPECT_EQ(run.summary.files, 0);

  run = Import({dir / "in"}, dir / "out", options);
  EXPECT_EQ(run.status, CalcStatus::kRefused);
  EXPECT_EQ(run.summary.files, 3);
  EXPECT_EQ(run.summary.imported, 1);
  EXPECT_NE(run.log.find("a.txt: refused: a.txt is already the import of a.csv"), std::string::npos)
      << run.log;
  EXPECT_NE(run.log.find("listing.txt: refused: not a waveform export"), std::string::npos);
  EXPECT_EQ(SamplesOf(dir / "out/a.txt"), (std::vector<double>{3, 4}));

  WriteBytes(dir / "in/a.csv", "5\n6\n");
  run = Import({dir / "in/a.csv"}, dir / "out", options);
  EXPECT_EQ(run.status, CalcStatus::kRefused);
  EXPECT_EQ(run.summary.notReplaced, 1);
  EXPECT_EQ(SamplesOf(dir / "out/a.txt"), (std::vector<double>{3, 4}));
  run = Import({dir / "in/a.csv"}, dir / "out", options, true);
  EXPECT_EQ(run.status, CalcStatus::kDone) << run.log;
  EXPECT_EQ(SamplesOf(dir / "out/a.txt"), (std::vector<double>{5, 6}));

  // A single file whose import would take its own place is refused even with force.
  run = Import({dir / "in/a.txt"}, dir / "in", options, true);
  EXPECT_EQ(run.status, CalcStatus::kRefused);
  EXPECT_EQ(ReadBytes(dir / "in/a.txt"), "1\n2\n");

  run = Import({dir / "missing.txt"}, dir / "out", options);
  EXPECT_EQ(run.status, CalcStatus::kRefused);
  EXPECT_NE(run.log.find("Not found"), std::string::npos);
}

// The real recordings, when they are there: every sample and the sample interval survive.
class RealExports : public ::testing::TestWithParam<const char*> {};

TEST_P(RealExports, ImportWithTheirSamplesAndInterval) {
  const std::string source = testing::RealDataDir() + "/" + GetParam();
  if (!std::filesystem::exists(source)) GTEST_SKIP() << "no " << source;
  TempDir dir;
  ImportOptions options;
  options.sampleInterval = 2e-7;  // for the headerless files
  const ImportRun run = Import({source}, dir.path(), options);
  ASSERT_EQ(run.status, CalcStatus::kDone) << run.log;
  const std::string text = ReadBytes(source);
  const bool csv = LowerCaseExtension(source) == ".csv";
  const std::string out = dir / ImportedName(source);
  ExpectSameSamples(SamplesOf(out), testing::ColumnOf(text, csv ? 12 : 0, csv ? 1 : 0));
  Waveform wf;
  ReadWaveform(out, wf);
  EXPECT_EQ(wf.sampleInterval, csv ? 1e-6 : 2e-7);
  EXPECT_EQ(wf.channel, 1);
  const std::string stem = std::filesystem::path(source).stem().string();
  // The layout keeps the time of test to seven significant digits.
  const double micros = std::stod(stem.substr(stem.rfind('_') + 1));
  EXPECT_NEAR(wf.timeOfTest, micros / 1e6, 5.000001e-7 * micros / 1e6);
}

INSTANTIATE_TEST_SUITE_P(WaveformImport, RealExports,
                         ::testing::Values("aewin594-csv-express8/1_1_100_40545628.csv",
                                           "liu-aewin-headerless/EXP1001_1_1031_27467421.txt",
                                           "liu-aewin-headerless/EXP1003_1_1027_28114541.txt",
                                           "liu-aewin-headerless/EXP2005_1_172_28386942.txt"));

TEST(WaveformImport, RealListingsAreRefused) {
  const std::string folder = testing::RealDataDir();
  if (!std::filesystem::exists(folder + "/visualae-listing-c103")) GTEST_SKIP();
  TempDir dir;
  const ImportRun run = Import(
      {folder + "/visualae-listing-c103", folder + "/aewin594-location-express8"}, dir.path());
  EXPECT_EQ(run.status, CalcStatus::kRefused);
  EXPECT_EQ(run.summary.refused, 2) << run.log;
}

}  // namespace
}  // namespace plexo
