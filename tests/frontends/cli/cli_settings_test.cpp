#include "frontends/cli/cli_settings.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "signal/setup_file.h"

namespace plexo::cli {
namespace {

class CliSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/plexo_cli_settings_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
    chosen_.wtSize = 555;
    ASSERT_TRUE(SaveSetup(chosen_, "/f", "/w", "/h", dir_ + "/chosen.ini"));
    CalcSettings other;
    other.wtSize = 777;
    ASSERT_TRUE(SaveSetup(other, "", "", "", dir_ + "/Setup.ini"));
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string dir_;
  CalcSettings chosen_;
};

TEST_F(CliSettingsTest, SetupOptionWinsOverTheProgramsSetupFile) {
  CommandLineSettings out;
  std::string error;
  ASSERT_TRUE(LoadCommandLineSettings(dir_ + "/chosen.ini", dir_ + "/Setup.ini", out, error));
  EXPECT_EQ(out.settings, chosen_);
  EXPECT_EQ(out.fftPath + out.wtPath + out.hwPath, "/f/w/h");
  EXPECT_EQ(out.source, dir_ + "/chosen.ini");
}

// A value the command line would refuse as an option is refused from the setup file too, with
// its key; whole forms of numbers pass (1e3 is 1000).
class SetupValueCheck : public CliSettingsTest,
                        public ::testing::WithParamInterface<std::pair<const char*, const char*>> {
};

TEST_P(SetupValueCheck, RefusedWithTheKey) {
  const std::string path = dir_ + "/bad.ini";
  std::string text = SetupFileText(CalcSettings{}, "", "", "");
  const std::string line = GetParam().first;
  const std::string key = line.substr(0, line.find('\t'));
  const size_t at = text.find(key + "\t");
  text.replace(at, text.find('\n', at) - at, line);
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  for (const bool as_option : {true, false}) {
    CommandLineSettings out;
    std::string error;
    const bool loaded = as_option ? LoadCommandLineSettings(path, dir_ + "/Setup.ini", out, error)
                                  : LoadCommandLineSettings("", path, out, error);
    if (std::string(GetParam().second).empty()) {
      EXPECT_TRUE(loaded) << error;
    } else {
      EXPECT_FALSE(loaded);
      EXPECT_NE(error.find(path), std::string::npos) << error;
      EXPECT_NE(error.find(GetParam().second), std::string::npos) << error;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, SetupValueCheck,
    ::testing::Values(std::make_pair("[WT-Size]\t-5", "[WT-Size] value -5 is not allowed"),
                      std::make_pair("[WT-Size]\t1e3x", "[WT-Size] value \"1e3x\" is not a whole"),
                      std::make_pair("[WT-Size]\t1.5", "[WT-Size] value \"1.5\""),
                      std::make_pair("[WT-Size]\t1e3", ""),
                      std::make_pair("[CWD-Sigma]\t0", "[CWD-Sigma] value 0"),
                      std::make_pair("[WT-TimeRes]\tnan", "[WT-TimeRes] value \"nan\""),
                      std::make_pair("[WT-FreqRes]\t-1e4", "[WT-FreqRes] value -1.000000e+004"),
                      std::make_pair("[WT-Threshold]\t0,1", "[WT-Threshold] value \"0,1\"")));

TEST_F(CliSettingsTest, UnreadableSetupOptionIsAnError) {
  CommandLineSettings out;
  std::string error;
  EXPECT_FALSE(LoadCommandLineSettings(dir_ + "/none.ini", dir_ + "/Setup.ini", out, error));
  EXPECT_NE(error.find(dir_ + "/none.ini"), std::string::npos);
  EXPECT_FALSE(LoadCommandLineSettings(dir_, dir_ + "/Setup.ini", out, error));  // a folder
}

TEST_F(CliSettingsTest, ProgramsSetupFileElseDefaults) {
  CommandLineSettings out;
  std::string error;
  ASSERT_TRUE(LoadCommandLineSettings("", dir_ + "/Setup.ini", out, error));
  EXPECT_EQ(out.settings.wtSize, 777);
  EXPECT_EQ(out.source, dir_ + "/Setup.ini");

  ASSERT_TRUE(LoadCommandLineSettings("", dir_ + "/absent.ini", out, error));
  EXPECT_EQ(out.settings, DefaultCalcSettings());
  EXPECT_EQ(out.source, "");
}

// Runs the plexo program with the arguments; returns its exit status and combined output.
int RunPlexo(const std::string& arguments, std::string& output) {
  const std::string command = std::string(PLEXO_BINARY) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  char buffer[4096];
  size_t count;
  while ((count = fread(buffer, 1, sizeof(buffer), pipe)) > 0) output.append(buffer, count);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(CliSettingsTest, CommandLineRefusesAMissingSetupFileBeforeOrAfterTheCommand) {
  for (const std::string& arguments :
       {"--setup '" + dir_ + "/none.ini' fft '" + dir_ + "/x.txt'",
        "fft '" + dir_ + "/x.txt' --setup '" + dir_ + "/none.ini'"}) {
    SCOPED_TRACE(arguments);
    std::string output;
    EXPECT_NE(RunPlexo(arguments, output), 0);
    EXPECT_NE(output.find("Cannot read the setup file"), std::string::npos) << output;
  }
}

TEST_F(CliSettingsTest, HelpNamesTheSetupFileInUse) {
  std::string output;
  EXPECT_EQ(RunPlexo("--setup '" + dir_ + "/chosen.ini' --help", output), 0);
  EXPECT_NE(output.find("Setup file in use: " + dir_ + "/chosen.ini"), std::string::npos) << output;
  output.clear();
  EXPECT_EQ(RunPlexo("--help", output), 0);
  EXPECT_NE(output.find("Setup file in use:"), std::string::npos) << output;
}

}  // namespace
}  // namespace plexo::cli
