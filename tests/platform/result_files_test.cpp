#include "platform/result_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/interrupt_cleanup.h"
#include "platform/recording_host.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs the test body with unnamed temporaries and once more with named ones.
class ResultFilesTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { PreferNamedTemporaries(GetParam()); }
  void TearDown() override { PreferNamedTemporaries(false); }
  TempDir dir;
};

TEST_P(ResultFilesTest, CommitPutsEveryFileInPlaceWithOrdinaryPermissions) {
  WriteBytes(dir / "table.txt", "old table");
  ResultFiles result;
  result.Add(dir / "table.txt").Write("a\tb\nc\n");
  result.Add(dir / "image.bmp", /*translate_newlines=*/false).Write(std::string("B\nM\0", 4));
  // Nothing is visible before the commit (unnamed temporaries not even as a name).
  EXPECT_EQ(ReadBytes(dir / "table.txt"), "old table");
  EXPECT_FALSE(Exists(dir / "image.bmp"));
  if (!GetParam()) {
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"table.txt"});
  }
  ASSERT_TRUE(result.Commit()) << result.Error();
  EXPECT_EQ(ReadBytes(dir / "table.txt"), "a\tb\r\nc\r\n");
  EXPECT_EQ(ReadBytes(dir / "image.bmp"), std::string("B\nM\0", 4));
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"image.bmp", "table.txt"}));
  const mode_t mask = umask(0);
  umask(mask);
  struct stat info;
  ASSERT_EQ(stat((dir / "image.bmp").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
}

// Each row: what stands in the way of the second file, and the reason named.
struct Obstacle {
  const char* name;
  void (*make)(const TempDir&);
  const char* second;  // the second file's name in the folder
  const char* reason;
};

class ResultFilesObstacleTest : public ::testing::TestWithParam<std::tuple<bool, Obstacle>> {
 protected:
  void SetUp() override { PreferNamedTemporaries(std::get<0>(GetParam())); }
  void TearDown() override { PreferNamedTemporaries(false); }
  TempDir dir;
};

TEST_P(ResultFilesObstacleTest, NoFileIsReplacedWhenOneCannotBe) {
  const Obstacle& obstacle = std::get<1>(GetParam());
  WriteBytes(dir / "first.txt", "old first");
  obstacle.make(dir);
  const std::vector<std::string> before = Names(dir.path());
  {
    ResultFiles result;
    result.Add(dir / "first.txt").Write("new first\n");
    result.Add(dir / obstacle.second).Write("new second\n");
    EXPECT_FALSE(result.Commit());
    EXPECT_EQ(result.Error(),
              "File " + dir / obstacle.second + " could not be written: " + obstacle.reason + "!");
  }
  EXPECT_EQ(ReadBytes(dir / "first.txt"), "old first");
  EXPECT_EQ(Names(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    BothTemporaryKinds, ResultFilesObstacleTest,
    ::testing::Combine(
        ::testing::Bool(),
        ::testing::Values(
            Obstacle{"FolderAtTarget",
                     [](const TempDir& d) { std::filesystem::create_directory(d / "second.txt"); },
                     "second.txt", "Is a directory"},
            Obstacle{"MissingFolder", [](const TempDir&) {}, "missing/second.txt",
                     "No such file or directory"},
            Obstacle{"FileAsFolder", [](const TempDir& d) { WriteBytes(d / "plain", "x"); },
                     "plain/second.txt", "Not a directory"})),
    [](const auto& info) {
      return std::string(std::get<1>(info.param).name) +
             (std::get<0>(info.param) ? "Named" : "Unnamed");
    });

TEST_P(ResultFilesTest, UncommittedFilesLeaveNothingAndCanBeReadBeforeTheCommit) {
  WriteBytes(dir / "average.txt", "old");
  {
    ResultFiles result;
    result.Add(dir / "average.txt").Write("staged\n");
    const std::string staged = StagedOrOwnPath(dir / "average.txt", &result);
    EXPECT_NE(staged, dir / "average.txt");
    EXPECT_EQ(ReadBytes(staged), "staged\r\n");
    EXPECT_EQ(StagedOrOwnPath(dir / "other.txt", &result), dir / "other.txt");
    EXPECT_EQ(StagedOrOwnPath(dir / "other.txt", nullptr), dir / "other.txt");
  }
  EXPECT_EQ(ReadBytes(dir / "average.txt"), "old");
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"average.txt"});
}

// More files than the writers keep descriptors open for (a folder of processed waveforms).
TEST_P(ResultFilesTest, ManyFilesAreCommittedTogether) {
  constexpr int kFiles = 600;
  ResultFiles result;
  for (int i = 0; i < kFiles; ++i) {
    std::string name = "w";
    name += std::to_string(i);
    name += ".txt";
    result.Add(dir / name).Write("x");
  }
  ASSERT_TRUE(result.Commit()) << result.Error();
  EXPECT_EQ(Names(dir.path()).size(), static_cast<size_t>(kFiles));
  EXPECT_EQ(ReadBytes(dir / "w599.txt"), "x");
}

INSTANTIATE_TEST_SUITE_P(BothTemporaryKinds, ResultFilesTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Named" : "Unnamed"; });

TEST(CommitResult, TellsTheHostWhatWasPutInPlace) {
  TempDir dir;
  RecordingHost host;
  ResultFiles result;
  result.Add(dir / "table.txt").Write("x");
  result.Add(dir / "preview.bmp", false).Write("y");
  EXPECT_TRUE(CommitResult(result, host));
  EXPECT_EQ(host.written, (std::vector<std::string>{dir / "table.txt", dir / "preview.bmp"}));
  ResultFiles failing;
  failing.Add(dir / "missing/table.txt").Write("x");
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(CommitResult(failing, host));
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(host.written.size(), 2u);  // nothing more: a failed result wrote nothing
}

TEST(CommitResult, NamesTheFileAndTheReasonToTheUserAndOnStandardOutput) {
  TempDir dir;
  RecordingHost host;
  ResultFiles result;
  result.Add(dir / "missing/table.txt").Write("x");
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(CommitResult(result, host));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "File open NOT succesfull\n");
  EXPECT_EQ(host.messages, std::vector<std::string>{"File " + dir / "missing/table.txt" +
                                                    " could not be written: No such file or "
                                                    "directory!"});
}

// A named temporary is removed when SIGTERM ends the program, which still dies of the signal.
TEST(InterruptCleanupDeathTest, TerminationRemovesNamedTemporaries) {
  TempDir dir;
  EXPECT_EXIT(
      {
        PreferNamedTemporaries(true);
        TextFileWriter writer(dir / "table.txt");
        writer.Write("half");
        writer.Finish();
        std::raise(SIGTERM);
      },
      ::testing::KilledBySignal(SIGTERM), "");
  EXPECT_TRUE(Names(dir.path()).empty());
}

// While files are put in place the signal waits; it ends the program right after.
TEST(InterruptCleanupDeathTest, SignalsWaitWhileAResultIsPutInPlace) {
  TempDir dir;
  EXPECT_EXIT(
      {
        InstallInterruptCleanup();
        {
          const InterruptsDeferred deferred;
          std::raise(SIGTERM);
          WriteBytes(dir / "still running", "");
        }
        WriteBytes(dir / "after the deferral", "");
        std::exit(0);
      },
      ::testing::KilledBySignal(SIGTERM), "");
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"still running"});
}

}  // namespace
}  // namespace plexo
