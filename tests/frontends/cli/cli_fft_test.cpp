// Runs the plexo executable as a user would.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::TempDir;

using testing::RunPlexo;
using Result = testing::PlexoResult;

TEST(CliFft, WritesBothOutputsBesideTheInput) {
  TempDir dir;
  const std::string example = std::string(PLEXO_EXAMPLES_DIR) + "/hit_003.txt";
  std::filesystem::copy_file(example, dir.File("hit_003.txt"));
  const Result r = RunPlexo("fft " + dir.File("hit_003.txt"));
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(Exists(dir.File("hit_003_fft.txt")));
  EXPECT_TRUE(Exists(dir.File("hit_003_fft_preview.bmp")));
  EXPECT_NE(r.output.find("hit_003_fft.txt"), std::string::npos);
}

TEST(CliFft, MessagesGoOutVerbatimWithAFailureStatus) {
  TempDir dir;
  testing::WriteBytes(dir.File("x.dat"), "1\n");
  Result r = RunPlexo("fft " + dir.File("x.dat"));
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.output.find("Filetype has the wrong format! Provide a valid file!"),
            std::string::npos);

  // A file that cannot be read gets the system's reason, once, and not the reader's message too.
  r = RunPlexo("fft " + dir.File("missing.txt"));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.output, "plexo: " + dir.File("missing.txt") + ": No such file or directory\n");
  EXPECT_FALSE(Exists(dir.File("missing_fft.txt")));
}

TEST(CliFft, HelpExplainsTheCommands) {
  Result r = RunPlexo("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.output.find("fft"), std::string::npos);
  r = RunPlexo("fft --help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.output.find("_fft_preview.bmp"), std::string::npos);
  r = RunPlexo("fft");
  EXPECT_NE(r.status, 0);
}

}  // namespace
}  // namespace plexo
