// Runs plexo avg-tft as a user would.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "signal/setup_file.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::TempDir;

using testing::RunPlexo;
using Result = testing::PlexoResult;

class CliAvgTft : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(folder_);
    for (const char* name : {"hit_001.txt", "hit_002.txt", "hit_003.txt"}) {
      std::filesystem::copy_file(std::string(PLEXO_EXAMPLES_DIR) + "/" + name,
                                 folder_ + "/" + name);
    }
  }
  std::string Output(const std::string& name) const { return folder_ + "/avgWTData/" + name; }

  TempDir dir_;
  const std::string folder_ = dir_.File("hits");
};

TEST_F(CliAvgTft, SetupFileChoosesMethodAndAlignmentAndOptionsOverrideThem) {
  CalcSettings settings;
  settings.wtSelect = 1;  // Wigner-Ville
  settings.autoRoi = 1;   // align
  settings.threshold = 0.05;
  const std::string setup = dir_.File("chosen.ini");
  ASSERT_TRUE(SaveSetup(settings, "", "", "", setup));
  const std::string run = "--setup '" + setup + "' avg-tft '" + folder_ + "'";

  Result r = RunPlexo(run);
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("Averaged 3 waveform files"), std::string::npos) << r.output;
  EXPECT_TRUE(Exists(Output("average_signal_spvwd.txt")));
  EXPECT_TRUE(Exists(Output("average_signal_spvwd_preview.bmp")));
  const std::string aligned = ReadBytes(Output("average_signal.txt"));

  r = RunPlexo(run + " --method cwt --align=0");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(Exists(Output("average_signal_wt.txt")));
  EXPECT_TRUE(Exists(Output("average_signal_wt_preview.bmp")));
  EXPECT_NE(ReadBytes(Output("average_signal.txt")), aligned);
}

TEST_F(CliAvgTft, RefusalsWriteNothing) {
  Result r = RunPlexo("avg-tft '" + folder_ + "' --time-start 2e-4 --time-end 1e-4");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.output.find("Non-valid input parameters! Please check consistence!"),
            std::string::npos)
      << r.output;
  r = RunPlexo("avg-tft '" + folder_ + "' --freq-res 0 --auto-freq-res");
  EXPECT_NE(r.status, 0);
  EXPECT_FALSE(Exists(Output("average_signal.txt")));

  // A result folder that is a file: the average cannot be written.
  testing::WriteBytes(folder_ + "/avgWTData", "not a folder");
  r = RunPlexo("avg-tft '" + folder_ + "'");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.output.find("Folder " + folder_ + "/avgWTData cannot be created: File exists!"),
            std::string::npos)
      << r.output;

  r = RunPlexo("avg-tft '" + dir_.File("missing") + "'");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.output.find(dir_.File("missing") + ": No such file or directory"), std::string::npos)
      << r.output;
}

}  // namespace
}  // namespace plexo
