// plexo features under an MPI launcher: the table of every rank count is the one-process table,
// byte for byte; a refused file is reported as one process reports it, and nothing is written.
#include <gtest/gtest.h>

#include <fstream>

#include "feature_test_data.h"
#include "features/feature_extraction.h"
#include "platform/file_system.h"
#include "support/run_mpi.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::ReadBytes;
using testing::RunPlexo;
using testing::RunPlexoOnRanks;
using testing::TempDir;

// `count` bursts with different onsets, tones and times of test, named in list order.
std::vector<std::string> WriteBursts(const TempDir& dir, int count) {
  for (int f = 0; f < count; ++f) {
    const auto x = testing::BurstSamples(2500 + 100 * (f % 4), 1900 + 23 * f, 1.5e5 + 2e4 * f,
                                         4e5 - 1e4 * f, 1e-7, 3 + f);
    testing::WriteWaveformFile(dir / ("w" + std::to_string(10 + f) + ".txt"), x, 1e-7, 0.5 * f);
  }
  return ListTxtFiles(dir.path());
}

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class FeaturesOnRanks : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (testing::MpiLauncher().empty()) GTEST_SKIP() << "plexo-mpi or mpirun not built/found";
  }
};

TEST_P(FeaturesOnRanks, WriteTheOneProcessTable) {
  const int ranks = GetParam();
  TempDir dir;
  WriteBursts(dir, 13);
  const std::string options = " --all --with-file-names";
  ASSERT_EQ(RunPlexo("features " + dir.path() + options).status, 0);
  const std::string one_process = ReadBytes(FeatureResultsPath(dir.path()));
  ASSERT_EQ(std::count(one_process.begin(), one_process.end(), '\n'), 15);
  std::remove(FeatureResultsPath(dir.path()).c_str());

  const auto run = RunPlexoOnRanks(ranks, "features " + dir.path() + options + " --jobs 1");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(ReadBytes(FeatureResultsPath(dir.path())), one_process);
  EXPECT_EQ(Occurrences(run.output, "Features of 13 waveform files"), 1u) << run.output;
}

// Files the reader refuses are skipped on every rank as in one process: the same table, the
// same notes in file order, the same count in the closing line.
TEST_P(FeaturesOnRanks, SkipTheFilesOneProcessSkips) {
  const int ranks = GetParam();
  TempDir dir;
  const std::vector<std::string> files = WriteBursts(dir, 9);
  testing::WriteBytes(files[1], "no data\n");
  testing::WriteBytes(files[6], "README\n");
  const std::string options = " --columns amplitude,centroid --with-file-names";
  const auto one = RunPlexo("features " + dir.path() + options);
  ASSERT_EQ(one.status, 0) << one.output;
  const std::string one_process = ReadBytes(FeatureResultsPath(dir.path()));
  std::remove(FeatureResultsPath(dir.path()).c_str());

  const auto run = RunPlexoOnRanks(ranks, "features " + dir.path() + options + " --jobs 1");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(ReadBytes(FeatureResultsPath(dir.path())), one_process);
  // Each note is its reason, then the file on the next line. The launcher forwards standard
  // output and standard error through separate pipes, so under it a line of the one may land
  // between the two lines of a note on the other: there the lines are found one by one.
  const std::string reason = "Skipped: No valid data present in file or error during loading!\n";
  for (const auto* output : {&one.output, &run.output}) {
    EXPECT_EQ(Occurrences(*output, "Features of 7 waveform files, 2 skipped"), 1u) << *output;
    EXPECT_EQ(Occurrences(*output, reason), 2u) << *output;
    const size_t first = output->find("plexo: " + files[1] + "\n");
    const size_t second = output->find("plexo: " + files[6] + "\n");
    EXPECT_NE(first, std::string::npos) << *output;
    EXPECT_NE(second, std::string::npos) << *output;
    EXPECT_LT(first, second) << *output;
    EXPECT_LT(output->find(reason), first) << *output;
  }
  EXPECT_NE(one.output.find(reason + "plexo: " + files[1]), std::string::npos) << one.output;
}

// A table that cannot be written is named with the system's reason on every rank count, as one
// process names it, and the run ends with the status of a failed write.
TEST_P(FeaturesOnRanks, NameTheTableThatCannotBeWritten) {
  const int ranks = GetParam();
  TempDir dir;
  WriteBursts(dir, 5);
  testing::WriteBytes(FeatureResultsFolder(dir.path()), "in the way");
  const std::string message =
      "File " + FeatureResultsPath(dir.path()) + " could not be written: Not a directory!";
  const auto one = RunPlexo("features " + dir.path());
  EXPECT_EQ(one.status, 2) << one.output;
  EXPECT_EQ(Occurrences(one.output, message), 1u) << one.output;
  const auto run = RunPlexoOnRanks(ranks, "features " + dir.path() + " --jobs 1");
  EXPECT_EQ(run.status, 2) << run.output;
  EXPECT_EQ(Occurrences(run.output, message), 1u) << run.output;
  EXPECT_EQ(ReadBytes(FeatureResultsFolder(dir.path())), "in the way");
}

// Which files are refused: one without data and one too long, or the long one alone.
struct Refusal {
  const char* name;
  int emptyFile;  // -1: none
  int longFile;
};

class FeaturesRefusedOnRanks : public ::testing::TestWithParam<std::tuple<Refusal, int /*ranks*/>> {
 protected:
  void SetUp() override {
    if (testing::MpiLauncher().empty()) GTEST_SKIP() << "plexo-mpi or mpirun not built/found";
  }
};

TEST_P(FeaturesRefusedOnRanks, ReportTheFirstRefusedFileAndWriteNothing) {
  const auto& [refusal, ranks] = GetParam();
  TempDir dir;
  const std::vector<std::string> files = WriteBursts(dir, 12);
  if (refusal.emptyFile >= 0) testing::WriteBytes(files[refusal.emptyFile], "no data\n");
  testing::WriteWaveformFile(files[refusal.longFile], std::vector<double>(20000, 0.01), 1e-7, 0);
  MakeDirectory(FeatureResultsFolder(dir.path()));
  testing::WriteBytes(FeatureResultsPath(dir.path()), "earlier table\r\n");

  const auto one = RunPlexo("features " + dir.path() + " --strict");
  const auto shared = RunPlexoOnRanks(ranks, "features " + dir.path() + " --strict --jobs 1");
  EXPECT_EQ(one.status, 1);
  EXPECT_EQ(shared.status, 1) << shared.output;
  const std::string message =
      refusal.emptyFile >= 0 ? "No valid data present in file or error during loading!\nplexo: " +
                                   files[refusal.emptyFile]
                             : "Sampling size of 20000 exceeds program limit of 16384! "
                               "(--max-samples N raises the limit, up to 1048576)\nplexo: " +
                                   files[refusal.longFile];
  EXPECT_EQ(Occurrences(one.output, message), 1u) << one.output;
  EXPECT_EQ(Occurrences(shared.output, message), 1u) << shared.output;
  if (refusal.emptyFile >= 0) {
    EXPECT_EQ(Occurrences(shared.output, "Sampling size"), 0u) << shared.output;
  }
  EXPECT_EQ(ReadBytes(FeatureResultsPath(dir.path())), "earlier table\r\n");
}

INSTANTIATE_TEST_SUITE_P(Files, FeaturesRefusedOnRanks,
                         ::testing::Combine(::testing::Values(Refusal{"EmptyBeforeLong", 4, 9},
                                                              Refusal{"LongInTheLastRun", -1, 10},
                                                              Refusal{"LongFirst", -1, 0}),
                                            ::testing::Values(2, 3)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "On" +
                                  std::to_string(std::get<1>(info.param));
                         });

INSTANTIATE_TEST_SUITE_P(Ranks, FeaturesOnRanks, ::testing::Values(1, 2, 3, 5));

}  // namespace
}  // namespace plexo
