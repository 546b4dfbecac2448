// --jobs on every command that has it: 0 means one per core; negative counts and absurd ones
// are refused before anything runs, with a message that says what is allowed.
#include <gtest/gtest.h>

#include <string>

#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

TEST(CliJobCount, ZeroMeansOnePerCoreAndOutOfRangeIsRefused) {
  testing::TempDir folder;
  for (const std::string command : {"fft", "tft", "avg-fft", "avg-tft", "features"}) {
    SCOPED_TRACE(command);
    for (const char* jobs : {"-1", "100000", "two"}) {
      const testing::PlexoResult result =
          testing::RunPlexo(command + " '" + folder.path() + "/none' --jobs " + jobs);
      EXPECT_NE(result.status, 0) << jobs;
      EXPECT_NE(result.output.find("not a job count"), std::string::npos) << result.output;
      EXPECT_NE(result.output.find("0 (one per core)"), std::string::npos) << result.output;
      EXPECT_LT(result.output.size(), 400u) << "a short message, not a 309-digit range";
    }
    // 0 passes the option check: what fails then is the missing input, not --jobs.
    const testing::PlexoResult zero =
        testing::RunPlexo(command + " '" + folder.path() + "/none' --jobs 0");
    EXPECT_EQ(zero.output.find("job count"), std::string::npos) << zero.output;
  }
}

}  // namespace
}  // namespace plexo
