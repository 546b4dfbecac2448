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
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find(kFeatureNoFilesMessage), std::string::npos);
}

}  // namespace
}  // namespace plexo
