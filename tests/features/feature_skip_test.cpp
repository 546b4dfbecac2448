// The feature run over a folder as labs keep them: files without a time of test or without a
// sample interval among the waveforms, stray files, names that would split a row. Every file
// starts from an empty header, refused files are skipped and named, and the table is the same
// for every thread count and every repetition.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "feature_test_data.h"
#include "features/feature_extraction.h"
#include "platform/file_system.h"
#include "platform/recording_host.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::BurstSamples;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// A waveform file whose header line holding `dropKey` is replaced by a line without a key.
void WriteWithout(const std::string& path, const std::vector<double>& x, double timeOfTest,
                  const std::string& dropKey) {
  testing::WriteWaveformFile(path, x, 1e-7, timeOfTest);
  std::string text = ReadBytes(path);
  if (!dropKey.empty()) {
    const size_t at = text.find(dropKey);
    const size_t end = text.find('\n', at);
    text.replace(at, end - at, "NOTE: none");
  }
  WriteBytes(path, text);
}

FeatureRequest Request(const std::string& folder, int jobs) {
  FeatureRequest r;
  r.folder = folder;
  r.columns.reset().set(kColArrivalTime).set(kColPeakAmplitude).set(kColFrequencyCentroid);
  r.withFileNames = true;
  r.jobs = jobs;
  return r;
}

CalcStatus RunFeatures(FeatureWorkspace& ws, const FeatureRequest& request, RecordingHost& host) {
  NullProgress progress;
  return ExtractFeatures(ws, request, progress, host);
}

// The data line of `name` in a table with file names.
std::string RowOf(const std::string& table, const std::string& name) {
  const size_t at = table.find("\n" + name + "\t");
  if (at == std::string::npos) return {};
  return table.substr(at + 1, table.find('\n', at + 1) - at);
}

TEST(FeatureSkipTest, HeaderNeverLeaksIntoTheNextFileOnAnyThreadCount) {
  TempDir dir;
  std::vector<std::string> noTime;
  for (int k = 0; k < 40; ++k) {
    std::string name = "h";
    name += std::to_string(100 + k);
    name += ".txt";
    const auto x = BurstSamples(1200, 300 + 7 * k, 2e5 + 1e4 * k, 4e5, 1e-7, k + 1);
    const bool dropTime = k % 4 == 3;
    if (dropTime) noTime.push_back(name);
    WriteWithout(dir / name, x, 5.0 + k, dropTime ? "TIME OF TEST" : "");
  }
  // An _fft.txt beside its input has no sample interval: a leak would turn it into a row.
  WriteWithout(dir / "h120_fft.txt", BurstSamples(1200, 300, 2e5, 4e5, 1e-7, 9), 1.0,
               "SAMPLE INTERVAL");
  FeatureWorkspace ws;  // kept between runs, as the desktop keeps its workspace
  std::string first;
  for (int repeat = 0; repeat < 2; ++repeat) {
    for (int jobs : {1, 2, 3, 5}) {
      RecordingHost host;
      ASSERT_EQ(RunFeatures(ws, Request(dir.path(), jobs), host), CalcStatus::kDone);
      const std::string table = ReadBytes(FeatureResultsPath(dir.path()));
      ASSERT_EQ(ws.skipped.All().size(), 1u);
      EXPECT_NE(ws.skipped.All()[0].find(dir / "h120_fft.txt"), std::string::npos);
      EXPECT_EQ(ws.processed, 40);
      if (first.empty()) first = table;
      EXPECT_EQ(table, first) << jobs << " threads, repeat " << repeat;
    }
  }
  EXPECT_EQ(RowOf(first, "h120_fft.txt"), "");
  // A header-less file's row is its row when it is alone in its folder: time of test 0.
  for (const std::string& name : noTime) {
    TempDir alone;
    WriteBytes(alone / name, ReadBytes(dir / name));
    RecordingHost host;
    FeatureWorkspace fresh;
    ASSERT_EQ(RunFeatures(fresh, Request(alone.path(), 1), host), CalcStatus::kDone);
    const std::string row = RowOf(ReadBytes(FeatureResultsPath(alone.path())), name);
    ASSERT_FALSE(row.empty());
    EXPECT_EQ(RowOf(first, name), row) << name;
    EXPECT_LT(std::stod(row.substr(name.size() + 1)), 1e-3) << row;  // no borrowed time
  }
}

// A folder with stray files: each is skipped with its reason, the others give the table;
// strict stops at the first and writes nothing.
TEST(FeatureSkipTest, StrayFilesAreSkippedAndNamedOrStopAStrictRun) {
  TempDir dir;
  testing::WriteWaveformFile(dir / "a.txt", BurstSamples(1500, 400, 2e5, 4e5, 1e-7, 1), 1e-7, 2);
  testing::WriteWaveformFile(dir / "c.txt", BurstSamples(1500, 500, 3e5, 4e5, 1e-7, 2), 1e-7, 3);
  WriteBytes(dir / "README.txt", "notes about the test\n");
  WriteWithout(dir / "a_fft.txt", BurstSamples(800, 10, 2e5, 4e5, 1e-7, 3), 0, "SAMPLE INTERVAL");
  std::string nan = ReadBytes(dir / "c.txt");
  nan.replace(nan.rfind("\n", nan.size() - 2) + 1, std::string::npos, "nan\n");
  WriteBytes(dir / "b_nan.txt", nan);

  RecordingHost host;
  FeatureWorkspace ws;
  ASSERT_EQ(RunFeatures(ws, Request(dir.path(), 3), host), CalcStatus::kDone);
  EXPECT_TRUE(host.messages.empty());
  const std::string table = ReadBytes(FeatureResultsPath(dir.path()));
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 4);
  EXPECT_FALSE(RowOf(table, "a.txt").empty());
  EXPECT_FALSE(RowOf(table, "c.txt").empty());
  const auto& notes = ws.skipped.All();
  ASSERT_EQ(notes.size(), 3u);  // in file order: README.txt, a_fft.txt, b_nan.txt
  EXPECT_NE(notes[0].find(dir / "README.txt"), std::string::npos);
  EXPECT_NE(notes[1].find("Sample interval of 0.000000e+000 s is not allowed"), std::string::npos);
  EXPECT_NE(notes[1].find(dir / "a_fft.txt"), std::string::npos);
  EXPECT_NE(notes[2].find("is not a finite number"), std::string::npos);
  EXPECT_NE(notes[2].find(dir / "b_nan.txt"), std::string::npos);

  FeatureRequest strict = Request(dir.path(), 3);
  strict.strict = true;
  strict.columns.set(kColSignalEnergy);  // another table, so an overwrite would show
  RecordingHost strictHost;
  EXPECT_EQ(RunFeatures(ws, strict, strictHost), CalcStatus::kRefused);
  ASSERT_EQ(strictHost.messages.size(), 1u);
  EXPECT_NE(strictHost.messages[0].find(dir / "README.txt"), std::string::npos);
  EXPECT_EQ(ReadBytes(FeatureResultsPath(dir.path())), table);
}

TEST(FeatureSkipTest, NameThatWouldSplitARowIsSkippedOnlyWithFileNames) {
  TempDir dir;
  for (const char* name : {"ok.txt", "tab\there.txt", "line\nbreak.txt", "cr\rhere.txt"})
    testing::WriteWaveformFile(dir / name, BurstSamples(900, 300, 2e5, 4e5, 1e-7, 4), 1e-7, 1);
  RecordingHost host;
  FeatureWorkspace ws;
  ASSERT_EQ(RunFeatures(ws, Request(dir.path(), 2), host), CalcStatus::kDone);
  EXPECT_EQ(ws.processed, 1);
  EXPECT_EQ(ws.skipped.All().size(), 3u);
  const std::string table = ReadBytes(FeatureResultsPath(dir.path()));
  // Every line holds the header's field count: four tabs.
  for (size_t at = 0, end; (end = table.find('\n', at)) != std::string::npos; at = end + 1)
    EXPECT_EQ(std::count(table.begin() + at, table.begin() + end, '\t'), 4);

  FeatureRequest plain = Request(dir.path(), 2);
  plain.withFileNames = false;
  ASSERT_EQ(RunFeatures(ws, plain, host), CalcStatus::kDone);
  EXPECT_EQ(ws.processed, 4);
  EXPECT_TRUE(ws.skipped.Empty());
}

TEST(FeatureSkipTest, FolderWithoutWaveformsOrUnlistableIsRefused) {
  TempDir dir;
  WriteBytes(dir / "notes.csv", "x\n");
  RecordingHost host;
  FeatureWorkspace ws;
  EXPECT_EQ(RunFeatures(ws, Request(dir.path(), 1), host), CalcStatus::kRefused);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], std::string(kFeatureNoFilesMessage) + "\n" + dir.path());
  EXPECT_FALSE(testing::Exists(dir / "FXData"));

  if (geteuid() == 0) GTEST_SKIP() << "root lists every folder";
  TempDir locked;
  testing::WriteWaveformFile(locked / "a.txt", BurstSamples(900, 300, 2e5, 4e5, 1e-7, 4), 1e-7, 1);
  chmod(locked.path().c_str(), 0300);
  RecordingHost lockedHost;
  EXPECT_EQ(RunFeatures(ws, Request(locked.path(), 1), lockedHost), CalcStatus::kRefused);
  chmod(locked.path().c_str(), 0700);
  ASSERT_EQ(lockedHost.messages.size(), 1u);
  EXPECT_EQ(lockedHost.messages[0], FolderNotListedMessage(locked.path(), "Permission denied"));
  EXPECT_FALSE(testing::Exists(locked / "FXData"));
}

// Rows that cannot mean anything are counted once for the run.
TEST(FeatureSkipTest, RowsWithAWindowPastTheRecordAreCounted) {
  TempDir dir;
  testing::WriteWaveformFile(dir / "short.txt", BurstSamples(500, 100, 2e5, 4e5, 1e-7, 1), 1e-7, 1);
  testing::WriteWaveformFile(dir / "long.txt", BurstSamples(6000, 100, 2e5, 4e5, 1e-7, 2), 1e-7, 1);
  RecordingHost host;
  FeatureWorkspace ws;
  ASSERT_EQ(RunFeatures(ws, Request(dir.path(), 2), host), CalcStatus::kDone);  // 200 .. 400 us
  EXPECT_EQ(ws.doubtful, 1);  // 500 samples end at 50 us
  FeatureRequest inverted = Request(dir.path(), 2);
  inverted.settings.timeStart = 300e-6;
  inverted.settings.timeEnd = 300e-6;
  ASSERT_EQ(RunFeatures(ws, inverted, host), CalcStatus::kDone);
  EXPECT_EQ(ws.doubtful, 2);
  EXPECT_EQ(DoubtfulRowsNote(2).substr(0, 24), "2 rows cannot mean anyth");
}

}  // namespace
}  // namespace plexo
