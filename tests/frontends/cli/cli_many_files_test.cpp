// plexo fft and plexo tft with several files: the same files as one call per file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::RunPlexo;
using testing::TempDir;

const std::vector<std::string> kExamples = {"hit_001.txt", "hit_002.txt", "hit_004.txt"};

std::string DemoSetup() {
  return " --setup " + std::string(PLEXO_EXAMPLES_DIR) + "/demo-setup.ini";
}

void CopyExamples(const TempDir& dir) {
  for (const std::string& name : kExamples)
    std::filesystem::copy_file(std::string(PLEXO_EXAMPLES_DIR) + "/" + name, dir.File(name));
}

struct ManyCase {
  const char* name;
  const char* command;
  std::vector<std::string> suffixes;  // outputs per input stem
};

class ManyFiles : public ::testing::TestWithParam<ManyCase> {};

TEST_P(ManyFiles, WriteWhatOneCallPerFileWritesAndReportEachFile) {
  TempDir one_by_one, together;
  CopyExamples(one_by_one);
  CopyExamples(together);
  std::string all;
  for (const std::string& name : kExamples) {
    const auto r =
        RunPlexo(std::string(GetParam().command) + " " + one_by_one.File(name) + DemoSetup());
    ASSERT_EQ(r.status, 0) << r.output;
    all += " " + together.File(name);
  }
  testing::WriteBytes(together.File("empty.txt"), "");
  const auto r = RunPlexo(std::string(GetParam().command) + all + " " + together.File("empty.txt") +
                          " --jobs 2" + DemoSetup());
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.output.find(together.File("empty.txt") + ": No"), std::string::npos) << r.output;
  for (const std::string& name : kExamples) {
    const std::string stem = name.substr(0, name.size() - 4);
    for (const std::string& suffix : GetParam().suffixes) {
      const std::string out = stem + suffix;
      ASSERT_TRUE(Exists(together.File(out))) << out;
      EXPECT_EQ(ReadBytes(together.File(out)), ReadBytes(one_by_one.File(out))) << out;
      EXPECT_NE(r.output.find("Wrote " + together.File(out)), std::string::npos) << out;
    }
  }
  // Every file done: status 0.
  EXPECT_EQ(RunPlexo(std::string(GetParam().command) + all + DemoSetup()).status, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ManyFiles,
    ::testing::Values(
        ManyCase{"Fft", "fft", {"_fft.txt", "_fft_preview.bmp"}},
        ManyCase{"Wavelet", "tft --method cwt", {"_wt.txt", "_wt_preview.bmp"}},
        ManyCase{"WignerVille", "tft --method spwvd", {"_spvwd.txt", "_spvwd_preview.bmp"}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace plexo
