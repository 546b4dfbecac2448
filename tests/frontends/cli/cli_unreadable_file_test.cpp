// A waveform the command line cannot read is named with the reason, beside the calculation's
// own message, and nothing is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

struct UnreadableCase {
  const char* command;
  const char* reason;  // what the file is: "missing" or "folder"
  const char* expected;
};

class CliUnreadableFile : public ::testing::TestWithParam<UnreadableCase> {};

TEST_P(CliUnreadableFile, NamesTheFileAndTheReason) {
  const UnreadableCase& c = GetParam();
  testing::TempDir dir;
  const std::string path = dir.File("hit.txt");
  if (std::string(c.reason) == "folder") std::filesystem::create_directory(path);
  const testing::PlexoResult r = testing::RunPlexo(std::string(c.command) + " '" + path + "'");
  EXPECT_NE(r.status, 0) << r.output;
  EXPECT_NE(r.output.find(path + c.expected), std::string::npos) << r.output;
  EXPECT_FALSE(testing::Exists(dir.File("hit_fft.txt")));
  EXPECT_FALSE(testing::Exists(dir.File("hit_wt.txt")));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliUnreadableFile,
    ::testing::Values(UnreadableCase{"fft", "missing", ": No such file or directory"},
                      UnreadableCase{"fft", "folder", " is a folder, not a file"},
                      UnreadableCase{"tft", "missing", ": No such file or directory"}));

}  // namespace
}  // namespace plexo
