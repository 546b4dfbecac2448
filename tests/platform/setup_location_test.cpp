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
  std::string folder;
  bool writable;
  std::optional<std::string> xdg;
  std::optional<std::string> home;
  std::string expected;
};

class SetupLocationTest : public ::testing::TestWithParam<LocationCase> {};

TEST_P(SetupLocationTest, ChoosesTheFolder) {
  const LocationCase& c = GetParam();
  SetupLocationInputs inputs{c.folder, c.writable, c.xdg, c.home};
  EXPECT_EQ(ChooseSetupIniPath(inputs), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetupLocationTest,
    ::testing::Values(
        LocationCase{"WritableProgramFolder", "/home/u/plexo/bin", true, "/x", "/home/u",
                     "/home/u/plexo/bin/Setup.ini"},
        LocationCase{"XdgConfigHome", "/home/u/plexo/bin", false, "/home/u/cfg/", "/home/u",
                     "/home/u/cfg/plexo/Setup.ini"},
        LocationCase{"HomeWhenXdgUnset", "/home/u/plexo/bin", false, std::nullopt, "/home/u",
                     "/home/u/.config/plexo/Setup.ini"},
        LocationCase{"HomeWhenXdgEmpty", "/home/u/plexo/bin", false, "", "/home/u",
                     "/home/u/.config/plexo/Setup.ini"},
        LocationCase{"HomeWhenXdgRelative", "/home/u/plexo/bin", false, "cfg", "/home/u",
                     "/home/u/.config/plexo/Setup.ini"},
        LocationCase{"ProgramFolderWhenNoHome", "/home/u/plexo/bin", false, std::nullopt,
                     std::nullopt, "/home/u/plexo/bin/Setup.ini"},
        // Root may write into /usr/bin: the package's folder still never gets a setup file.
        LocationCase{"PackageFolderWritableByRoot", "/usr/bin", true, std::nullopt, "/root",
                     "/root/.config/plexo/Setup.ini"},
        LocationCase{"OptFolder", "/opt/plexo/bin", true, "/root/cfg", "/root",
                     "/root/cfg/plexo/Setup.ini"},
        LocationCase{"UsrLocal", "/usr/local/bin", true, std::nullopt, "/home/u",
                     "/home/u/.config/plexo/Setup.ini"},
        LocationCase{"NotASystemFolderByPrefixAlone", "/usrdata/bin", true, std::nullopt, "/home/u",
                     "/usrdata/bin/Setup.ini"}),
    [](const auto& info) { return std::string(info.param.name); });

// plexo-desktop and plexo-mpi, installed in PREFIX/libexec/plexo, keep the settings of the
// plexo in PREFIX/bin, so the desktop saves the file that `plexo --help` names.
TEST(SetupLocation, HelperProgramsUseTheFolderOfPlexo) {
  EXPECT_EQ(ProgramDirectoryFor("/usr/libexec/plexo"), "/usr/bin");
  EXPECT_EQ(ProgramDirectoryFor("/home/u/inst/libexec/plexo"), "/home/u/inst/bin");
  EXPECT_EQ(ProgramDirectoryFor("/home/u/build/src"), "/home/u/build/src");
  EXPECT_EQ(ProgramDirectoryFor("/usr/bin"), "/usr/bin");
  SetupLocationInputs desktop{ProgramDirectoryFor("/usr/libexec/plexo"), true, std::nullopt,
                              "/root"};
  SetupLocationInputs command{"/usr/bin", true, std::nullopt, "/root"};
  EXPECT_EQ(ChooseSetupIniPath(desktop), ChooseSetupIniPath(command));
}

TEST(SetupLocation, RunningProgramUsesItsExecutableFolderWhenWritable) {
  const SetupLocationInputs inputs = CurrentSetupLocationInputs();
  if (!inputs.executableDirectoryWritable || IsSystemFolder(inputs.executableDirectory))
    GTEST_SKIP() << "test binary folder is read-only or a system folder";
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
