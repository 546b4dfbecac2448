// plexo features: the columns and bands it is given, the dialog's band check, exit status.
#include <gtest/gtest.h>

#include "feature_test_data.h"
#include "features/feature_extraction.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::ReadBytes;
using testing::RunPlexo;
using testing::TempDir;

struct CommandCase {
  const char* name;
  std::string arguments;  // after "features DIR"
  int status;
  std::string headerStart;  // the table's first line starts so; empty: no table
  std::string output;       // printed somewhere
};

class FeaturesCommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(FeaturesCommandTest, WritesTheTableItIsAskedFor) {
  const CommandCase& c = GetParam();
  TempDir dir;
  testing::WriteWaveformFile(dir / "b.txt", testing::BurstSamples(3000, 2100, 2e5, 4e5, 1e-7, 2),
                             1e-7, 1.0);
  testing::WriteWaveformFile(dir / "a.txt", testing::BurstSamples(3000, 2200, 3e5, 5e5, 1e-7, 1),
                             1e-7, 2.0);
  const testing::PlexoResult result = RunPlexo("features " + dir.path() + " " + c.arguments);
  EXPECT_EQ(result.status, c.status) << result.output;
  EXPECT_NE(result.output.find(c.output), std::string::npos) << result.output;
  const std::string table = ReadBytes(FeatureResultsPath(dir.path()));
  if (c.headerStart.empty()) {
    EXPECT_TRUE(table.empty());
  } else {
    EXPECT_EQ(table.substr(0, c.headerStart.size()), c.headerStart);
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 4);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FeaturesCommandTest,
    ::testing::Values(
        CommandCase{"Defaults", "", 0, "maximum signal amplitude\tsignal energy\tpeak frequency 1",
                    "Features of 2 waveform files"},
        CommandCase{"TwoColumnsInTableOrder", "--columns energy,amplitude", 0,
                    "maximum signal amplitude\tsignal energy\t\r\nV\tJ\t\r\n", "Wrote"},
        CommandCase{"FileNamesAndPickedArrival", "--columns arrival-time --with-file-names --aic",
                    0, "file name\tarrival time\t\r\n\ts\t\r\na.txt\t", "Wrote"},
        CommandCase{"InvertedPartialPowerBandWarns", "--band 2:300e3:100e3 --jobs 1", 0,
                    "maximum signal amplitude",
                    "Begin of frequency interval has to be smaller than end of frequency "
                    "interval!"},
        CommandCase{"InvertedLastWaveletBandEnds", "--all --wt-band 4:2e6:1e6", 1, "",
                    "Begin of frequency interval has to be smaller than end of frequency "
                    "interval!"},
        CommandCase{"TooManyWaveletRows", "--all --freq-res 1e3", 1, "",
                    "Frequency grid of 1000 rows exceeds program limit of 511!"},
        CommandCase{"MalformedBand", "--band 9:0:1", 1, "", "--band expects K:BEGIN:END"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FeaturesCommand, MissingFolderFails) {
  const testing::PlexoResult result = RunPlexo("features /nonexistent/folder");
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.output, "plexo: /nonexistent/folder: No such file or directory\n");
}

// Two bursts, run with `arguments`; the table, or empty when the run fails.
std::string TableFor(const TempDir& dir, const std::string& arguments) {
  const testing::PlexoResult result = RunPlexo("features " + dir.path() + " " + arguments);
  EXPECT_EQ(result.status, 0) << arguments << "\n" << result.output;
  return ReadBytes(FeatureResultsPath(dir.path()));
}

// The data field `column` (0-based) of data row `row`.
std::string Field(const std::string& table, int row, int column) {
  size_t at = 0;
  for (int line = 0; line < row + 2; ++line) at = table.find('\n', at) + 1;
  for (int c = 0; c < column; ++c) at = table.find('\t', at) + 1;
  return table.substr(at, table.find('\t', at) - at);
}

TEST(FeaturesCommand, ColumnsDoNotChangeOtherColumns) {
  TempDir dir;
  testing::WriteWaveformFile(dir / "a.txt", testing::BurstSamples(5000, 2200, 3e5, 5e5, 1e-7, 1),
                             1e-7, 2.0);
  // Partial power 1 alone is its share of the default total, not 100 %.
  const std::string defaults = TableFor(dir, "--jobs 1");
  const std::string alone = TableFor(dir, "--columns partial-power-1");
  EXPECT_EQ(Field(alone, 0, 0), Field(defaults, 0, 9));
  EXPECT_NE(Field(alone, 0, 0), "1.000000e+002");
  // The arrival time does not switch the picker on, so the amplitude's window stays.
  const std::string amplitude = TableFor(dir, "--columns amplitude");
  const std::string withArrival = TableFor(dir, "--columns amplitude,arrival-time");
  EXPECT_EQ(Field(withArrival, 0, 1), Field(amplitude, 0, 0));
  EXPECT_EQ(Field(withArrival, 0, 0), "2.00000000000000e+000");  // no pick: the time of test
  EXPECT_NE(Field(TableFor(dir, "--columns amplitude,arrival-time --aic"), 0, 0),
            "2.00000000000000e+000");
}

TEST(FeaturesCommand, NumbersAreReadWholeAndWindowNamesMatchTft) {
  TempDir dir;
  testing::WriteWaveformFile(dir / "a.txt", testing::BurstSamples(5000, 2200, 3e5, 5e5, 1e-7, 1),
                             1e-7, 2.0);
  EXPECT_EQ(TableFor(dir, "--columns energy --impedance 5e1"),
            TableFor(dir, "--columns energy --impedance 50"));
  EXPECT_NE(TableFor(dir, "--columns energy --impedance 5e1"),
            TableFor(dir, "--columns energy --impedance 5"));
  EXPECT_EQ(TableFor(dir, "--columns mm --wavelet-length 1e3"),
            TableFor(dir, "--columns mm --wavelet-length 1000"));
  EXPECT_NE(TableFor(dir, "--columns mm --wavelet-length 1e3"),
            TableFor(dir, "--columns mm --wavelet-length 1"));
  const std::string shortNames = TableFor(dir, "--start 100e-6 --end 300e-6");
  EXPECT_EQ(TableFor(dir, "--time-start 100e-6 --time-end 300e-6"), shortNames);
  EXPECT_NE(TableFor(dir, ""), shortNames);
}

struct RefusedCase {
  const char* name;
  std::string arguments;
  std::string message;
};

class FeaturesRefusedOption : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(FeaturesRefusedOption, IsRefusedWithAMessageAndWritesNothing) {
  TempDir dir;
  testing::WriteWaveformFile(dir / "a.txt", testing::BurstSamples(3000, 2200, 3e5, 5e5, 1e-7, 1),
                             1e-7, 2.0);
  const testing::PlexoResult result =
      RunPlexo("features " + dir.path() + " " + GetParam().arguments);
  EXPECT_EQ(result.status, 1) << result.output;
  EXPECT_NE(result.output.find(GetParam().message), std::string::npos) << result.output;
  EXPECT_FALSE(testing::Exists(FeatureResultsPath(dir.path())));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FeaturesRefusedOption,
    ::testing::Values(
        RefusedCase{"AllWithColumns", "--all --columns energy", "--all and --columns exclude"},
        RefusedCase{"BandTwice", "--all --band 2:1:2 --band 2:3:4", "--band 2 is given twice"},
        RefusedCase{"BandOfAnUnwrittenColumn", "--band 8:900e3:1e6",
                    "its column partial-power-8 is not written"},
        RefusedCase{"WaveletBandOfAnUnwrittenColumn", "--wt-band 1:0:1e5",
                    "its column tf-power-1 is not written"},
        RefusedCase{"BandEdgeNotANumber", "--band 1:abc:150e3", "--band expects"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FeaturesCommand, MessyFolderNamesEverySkippedFileAndCountsThem) {
  TempDir dir;
  testing::WriteWaveformFile(dir / "a.txt", testing::BurstSamples(3000, 2200, 3e5, 5e5, 1e-7, 1),
                             1e-7, 2.0);
  testing::WriteBytes(dir / "README.txt", "about this test\n");
  testing::WriteBytes(dir / "empty.txt", "");
  const testing::PlexoResult result = RunPlexo("features " + dir.path() + " --jobs 2");
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("Features of 1 waveform files, 2 skipped"), std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find(dir / "README.txt"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find(dir / "empty.txt"), std::string::npos) << result.output;
  const testing::PlexoResult strict = RunPlexo("features " + dir.path() + " --strict");
  EXPECT_EQ(strict.status, 1) << strict.output;
  EXPECT_EQ(strict.output.find(dir / "empty.txt"), std::string::npos) << strict.output;
}

}  // namespace
}  // namespace plexo
