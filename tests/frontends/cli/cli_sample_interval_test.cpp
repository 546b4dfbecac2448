// plexo fft and avg-fft on recordings without a usable sample interval: refused by name with a
// failure status, nothing written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

namespace fs = std::filesystem;

using testing::Exists;
using testing::RunPlexo;
using testing::TempDir;

// One sample per line and no header at all, as some acquisition software exports.
std::string Headerless(int samples) {
  std::string text;
  for (int i = 0; i < samples; ++i) text += (i % 2 == 0 ? "0.25\n" : "-0.5\n");
  return text;
}

std::string RefusalOf(const std::string& path) {
  return "Sample interval of 0.000000e+000 s in " + path + " is not allowed!";
}

TEST(CliSampleInterval, HeaderlessFilesAreRefusedByName) {
  TempDir dir;
  const std::string folder = dir.File("hits");
  fs::create_directory(folder);
  const std::string file = folder + "/headerless.txt";
  testing::WriteBytes(file, Headerless(2048));

  testing::PlexoResult r = RunPlexo("fft '" + file + "'");
  EXPECT_NE(r.status, 0) << r.output;
  EXPECT_NE(r.output.find(RefusalOf(file)), std::string::npos) << r.output;
  EXPECT_FALSE(Exists(folder + "/headerless_fft.txt"));
  EXPECT_FALSE(Exists(folder + "/headerless_fft_preview.bmp"));

  r = RunPlexo("avg-fft '" + folder + "'");
  EXPECT_NE(r.status, 0) << r.output;
  EXPECT_NE(r.output.find(RefusalOf(file)), std::string::npos) << r.output;
  EXPECT_FALSE(Exists(folder + "/avgFFTData/average_FFT.txt"));
}

TEST(CliSampleInterval, RealHeaderlessRecordingsAreRefused) {
  const std::string source = std::string(PLEXO_REALDATA_DIR) + "/liu-aewin-headerless";
  if (!Exists(source)) GTEST_SKIP() << "real recordings not present";
  TempDir dir;  // the outputs would be written beside the inputs
  for (const auto& entry : fs::directory_iterator(source)) {
    const std::string input = dir.File(entry.path().filename().string());
    fs::copy_file(entry.path(), input);
    const testing::PlexoResult r = RunPlexo("fft '" + input + "'");
    EXPECT_NE(r.status, 0) << input;
    EXPECT_NE(r.output.find(RefusalOf(input)), std::string::npos) << r.output;
  }
  const testing::PlexoResult r = RunPlexo("avg-fft '" + dir.path() + "'");
  EXPECT_NE(r.status, 0) << r.output;
  EXPECT_FALSE(Exists(dir.File("avgFFTData/average_FFT.txt")));
  for (const auto& entry : fs::directory_iterator(dir.path()))
    EXPECT_EQ(entry.path().string().find("_fft"), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace plexo
