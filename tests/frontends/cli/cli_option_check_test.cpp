// Option values that cannot mean anything are refused at the command line, before any file is
// read or written: lengths, counts and resolutions of zero or less, and a --setup file that is
// no setup file at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::RunPlexo;
using testing::TempDir;

struct OptionCase {
  const char* name;
  std::string arguments;  // {} stands for the test folder
  std::string message;    // part of what the refusal says
};

class RefusedOption : public ::testing::TestWithParam<OptionCase> {};

TEST_P(RefusedOption, ExitsNonZeroWithAMessageAndWritesNothing) {
  TempDir dir;
  const std::string input = dir.File("hit.txt");
  std::filesystem::copy_file(std::string(PLEXO_EXAMPLES_DIR) + "/hit_001.txt", input);
  std::string arguments = GetParam().arguments;
  for (size_t at; (at = arguments.find("{}")) != std::string::npos;)
    arguments.replace(at, 2, "'" + dir.path() + "'");
  const testing::PlexoResult r = RunPlexo(arguments);
  EXPECT_NE(r.status, 0) << r.output;
  EXPECT_NE(r.output.find(GetParam().message), std::string::npos) << r.output;
  EXPECT_FALSE(testing::Exists(dir.File("hit_wt.txt")));
  EXPECT_FALSE(testing::Exists(dir.File("hit_spvwd.txt")));
  EXPECT_FALSE(testing::Exists(dir.File("hit_fft.txt")));
  EXPECT_FALSE(testing::Exists(dir.File("FXData")));
}

const std::string kPositive = "is not allowed: give a number > 0";
const std::string kCount = "is not allowed: give a whole number >= 1";
const std::string kNumber = "is not allowed: give a number";
const std::string kNoSetup = "holds no setup line";
// Resolutions of the time-frequency grid are checked with the rest of the grid, as the Options
// dialog checks them.
const std::string kGrid = "Non-valid input parameters! Please check consistence!";

INSTANTIATE_TEST_SUITE_P(
    Lengths, RefusedOption,
    ::testing::Values(
        OptionCase{"WaveletLengthNegative", "tft {}/hit.txt --method cwt --wavelet-length -100",
                   "--wavelet-length: Value -100 " + kCount},
        OptionCase{"WaveletLengthZero", "tft {}/hit.txt --method cwt --wavelet-length 0", kCount},
        OptionCase{"TimeResolutionZero", "tft {}/hit.txt --time-res 0", kGrid},
        OptionCase{"FrequencyResolutionNegative", "avg-tft {} --freq-res -1e3", kGrid},
        OptionCase{"SubsamplingZero", "tft {}/hit.txt --method spwvd --subsampling 0", kCount},
        OptionCase{"WindowParameterNegative", "tft {}/hit.txt --method spwvd --window-parameter -2",
                   kCount},
        OptionCase{"FeatureWaveletLength", "features {} --wavelet-length -100", kCount},
        OptionCase{"FeatureFrequencyResolution", "features {} --freq-res 0", kPositive},
        OptionCase{"FeatureDuration", "features {} --aic --duration -1e-6", kPositive},
        OptionCase{"FeatureImpedance", "features {} --impedance 0", kCount},
        OptionCase{"NotANumber", "tft {}/hit.txt --freq-res nan",
                   "--freq-res: Value nan " + kNumber},
        // A value is read whole, never by its leading digits.
        OptionCase{"FeatureStartText", "features {} --start abc",
                   "--time-start: Value abc " + kNumber},
        OptionCase{"FeatureBandEdgeText", "features {} --band 1:abc:150e3", "--band expects"},
        OptionCase{"TftTimeStartTail", "tft {}/hit.txt --time-start 5x", "--time-start: Value 5x"},
        OptionCase{"AvgTftThresholdText", "avg-tft {} --threshold abc", "--threshold: Value abc"},
        OptionCase{"ConvolvePrecisionFraction", "convolve {} --precision 12.5",
                   "--precision: Value 12.5 is not allowed: give a whole number"},
        OptionCase{"ImportChannelTail", "import {}/hit.txt --to {}/out --channel 2x",
                   "--channel: Value 2x"},
        OptionCase{"ImportDtText", "import {}/hit.txt --to {}/out --dt 1e-7s", "--dt: Value 1e-7s"},
        OptionCase{"JobsFraction", "features {} --jobs 1.5",
                   "--jobs: Value 1.5 is not a job count"},
        OptionCase{"CountFraction", "tft {}/hit.txt --wavelet-length 50.7", kCount}),
    [](const auto& info) { return std::string(info.param.name); });

// An integer may be written in any exact form: 1e3 is 1000, not 1.
TEST(NumberOption, IntegerInExponentFormIsTheWholeNumber) {
  TempDir dir;
  const std::string input = dir.File("hit.txt");
  std::filesystem::copy_file(std::string(PLEXO_EXAMPLES_DIR) + "/hit_001.txt", input);
  std::string maps[3];
  const char* lengths[3] = {"1e3", "1000", "1"};
  for (int k = 0; k < 3; ++k) {
    const testing::PlexoResult r =
        RunPlexo("tft '" + input + "' --method cwt --wavelet-length " + lengths[k]);
    ASSERT_EQ(r.status, 0) << r.output;
    maps[k] = testing::ReadBytes(dir.File("hit_wt.txt"));
  }
  EXPECT_EQ(maps[0], maps[1]);
  EXPECT_NE(maps[0], maps[2]);
}

class SetupOption : public ::testing::TestWithParam<OptionCase> {};

// `arguments` is the content of the --setup file here.
TEST_P(SetupOption, ThatIsNoSetupFileIsRefused) {
  TempDir dir;
  const std::string input = dir.File("hit.txt");
  std::filesystem::copy_file(std::string(PLEXO_EXAMPLES_DIR) + "/hit_001.txt", input);
  const std::string setup = dir.File("given.ini");
  testing::WriteBytes(setup, GetParam().arguments);
  const testing::PlexoResult r = RunPlexo("--setup '" + setup + "' fft '" + input + "'");
  if (GetParam().message.empty()) {
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(testing::Exists(dir.File("hit_fft.txt")));
    return;
  }
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find("The setup file \"" + setup + "\" " + GetParam().message),
            std::string::npos)
      << r.output;
  EXPECT_FALSE(testing::Exists(dir.File("hit_fft.txt")));
}

INSTANTIATE_TEST_SUITE_P(
    Contents, SetupOption,
    ::testing::Values(OptionCase{"Empty", "", kNoSetup},
                      OptionCase{"NoTabs", "[FFT-Window] 1\r\n[WT-Size] 100\r\n", kNoSetup},
                      OptionCase{"Garbage",
                                 std::string("\x7f"
                                             "ELF\0\x01\x02\tzz\n",
                                             11),
                                 kNoSetup},
                      OptionCase{"UnknownKeysOnly", "[Colour]\tblue\n", kNoSetup},
                      // One known key is a setup file: the others keep their defaults.
                      OptionCase{"OneKey", "[FFT-Window]\t0\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plexo
