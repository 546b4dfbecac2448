// plexo ascii ... and plexo locations ...: exit status and what they tell the user.
#include <gtest/gtest.h>

#include "ascii_test_files.h"
#include "support/run_plexo.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::RunPlexo;
using testing::TempDir;
using testing::WriteBytes;
using testing::WriteWave;

struct CliCase {
  const char* name;
  const char* arguments;  // {} stands for the test folder
  int status;
  const char* output;   // text the output must hold
  const char* written;  // file expected in the folder afterwards, or ""
};

class AsciiCommands : public ::testing::TestWithParam<CliCase> {};

TEST_P(AsciiCommands, ExitZeroOnlyWhenTheOperatorDidItsJob) {
  const CliCase& c = GetParam();
  TempDir dir;
  WriteWave(dir / "w1_1.txt", "1.000000e-006", 1, "1.000000e+000", {"1", "2", "3"});
  WriteWave(dir / "w2_1.txt", "1.000000e-006", 2, "2.000000e+000", {"4", "5", "6"});
  WriteBytes(dir / "table.txt", "0\t1\t\r\n1\t2\t\r\n");
  WriteBytes(dir / "run.listing",
             "LE   1       00:00:01.500000  1 2 3\r\nLE   2       00:00:02.000000  4 5\r\n");
  WriteBytes(dir / "flat.listing", "Gp#1 y=1 d\r\n");
  std::string arguments = c.arguments;
  for (size_t at; (at = arguments.find("{}")) != std::string::npos;)
    arguments.replace(at, 2, dir.path());
  const auto result = RunPlexo(arguments);
  EXPECT_EQ(result.status, c.status) << result.output;
  EXPECT_NE(result.output.find(c.output), std::string::npos) << result.output;
  if (*c.written) {
    EXPECT_TRUE(Exists(dir / c.written)) << result.output;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, AsciiCommands,
    ::testing::Values(
        CliCase{"Accumulate", "ascii accumulate {}", 0, "convData/Accumulated_waveforms.txt",
                "convData/Accumulated_waveforms.txt"},
        CliCase{"Columns", "ascii columns {}", 0, "Wrote", "convData/Column_ASCII_waveforms.txt"},
        CliCase{"Link", "ascii link {}", 0, "convData/00000001.txt", "convData/00000001.txt"},
        CliCase{"Split", "ascii split {}", 0, "convData/table_1.txt", "convData/table_1.txt"},
        CliCase{"MissingFolder", "ascii columns {}/none", 2, "none: No such file or directory", ""},
        CliCase{"UnknownOperator", "ascii sort {}", 64, "sort", ""},
        CliCase{"VisualAe", "locations visualae {}/run.listing", 0,
                "2 localized source positions found.", "run_DV-compatibel.dat"},
        CliCase{"AewinFlat", "locations aewin {}/flat.listing", 1,
                "At least two-dimensional localisation data are necessary!", ""},
        CliCase{"MissingListing", "locations aewin {}/none.txt", 2,
                "none.txt: No such file or directory", ""}),
    [](const ::testing::TestParamInfo<CliCase>& info) { return info.param.name; });

}  // namespace
}  // namespace plexo
