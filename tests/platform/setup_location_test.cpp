#include "platform/setup_location.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace plexo {
namespace {

struct LocationCase {
  const char* name;
  bool writable;
  std::optional<std::string> xdg;
  std::optional<std::string> home;
  std::string expected;
};

class SetupLocationTest : public ::testing::TestWithParam<LocationCase> {};

TEST_P(SetupLocationTest, ChoosesTheFolder) {
  const LocationCase& c = GetParam();
  SetupLocationInputs inputs{"/opt/plexo/bin", c.writable, c.xdg, c.home};
  EXPECT_EQ(ChooseSetupIniPath(inputs), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetupLocationTest,
    ::testing::Values(
        LocationCase{"WritableExecutableFolder", true, "/x", "/home/u", "/opt/plexo/bin/Setup.ini"},
        LocationCase{"XdgConfigHome", false, "/home/u/cfg/", "/home/u",
                     "/home/u/cfg/plexo/Setup.ini"},
        LocationCase{"HomeWhenXdgUnset", false, std::nullopt, "/home/u",
                     "/home/u/.config/plexo/Setup.ini"},
        LocationCase{"HomeWhenXdgEmpty", false, "", "/home/u", "/home/u/.config/plexo/Setup.ini"},
        LocationCase{"HomeWhenXdgRelative", false, "cfg", "/home/u",
                     "/home/u/.config/plexo/Setup.ini"},
        LocationCase{"ExecutableFolderWhenNoHome", false, std::nullopt, std::nullopt,
                     "/opt/plexo/bin/Setup.ini"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SetupLocation, RunningProgramUsesItsExecutableFolderWhenWritable) {
  const SetupLocationInputs inputs = CurrentSetupLocationInputs();
  if (!inputs.executableDirectoryWritable) GTEST_SKIP() << "test binary folder is read-only";
  EXPECT_EQ(SetupIniPath(), JoinPath(ExecutableDirectory(), "Setup.ini"));
}

TEST(SetupLocation, MakeParentDirectoriesCreatesTheMissingLevels) {
  char name[] = "/tmp/plexo_location_test_XXXXXX";
  ASSERT_NE(mkdtemp(name), nullptr);
  const std::string base = name;
  EXPECT_TRUE(MakeParentDirectories(base + "/cfg/plexo/Setup.ini"));
  EXPECT_TRUE(IsDirectory(base + "/cfg/plexo"));
  EXPECT_TRUE(MakeParentDirectories(base + "/cfg/plexo/Setup.ini"));  // already there
  EXPECT_TRUE(MakeParentDirectories("Setup.ini"));                    // working folder
  std::system(("rm -rf '" + base + "'").c_str());
}

}  // namespace
}  // namespace plexo
