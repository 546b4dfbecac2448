// What the desktop's operators tell the host they wrote (its status bar shows the first path and
// how many more): every file put in place, and nothing for a run that wrote none.
#include "ascii_ops/ascii_operators.h"

#include <gtest/gtest.h>

#include "ascii_ops/location_conversion.h"
#include "ascii_test_files.h"
#include "platform/recording_host.h"

namespace plexo {
namespace {

using testing::TempDir;
using testing::WriteBytes;
using testing::WriteWave;

TEST(RealAsciiOperatorsTest, ReportEveryFileTheyPutInPlace) {
  TempDir dir;
  WriteWave(dir / "a.txt", "1.000000e-006", 1, "2.000000e+000", {"1", "2"});
  WriteWave(dir / "b.txt", "1.000000e-006", 1, "1.000000e+000", {"3", "4"});
  RealAsciiOperators operators;
  NullProgress progress;
  RecordingHost columns;
  ASSERT_EQ(operators.Run(CalcMode::kColumns, dir.path(), progress, columns), CalcStatus::kDone);
  EXPECT_EQ(columns.written,
            std::vector<std::string>{dir.path() + "/convData/Column_ASCII_waveforms.txt"});

  TempDir tables;
  WriteBytes(tables / "t.txt", "0.0\t1.0\t2.0\t\r\n1.0e-6\t3.0\t4.0\t\r\n");
  RecordingHost split;
  ASSERT_EQ(operators.Run(CalcMode::kSplit, tables.path(), progress, split), CalcStatus::kDone);
  EXPECT_EQ(split.written, (std::vector<std::string>{tables.path() + "/convData/t_1.txt",
                                                     tables.path() + "/convData/t_2.txt"}));

  // A refused run reports nothing, not the files of the run before it.
  TempDir empty;
  RecordingHost refused;
  EXPECT_EQ(operators.Run(CalcMode::kSplit, empty.path(), progress, refused), CalcStatus::kRefused);
  EXPECT_TRUE(refused.written.empty());
}

TEST(RealAsciiOperatorsTest, AConversionReportsItsTableOnlyWhenWritten) {
  TempDir dir;
  WriteBytes(dir / "run.txt", "LE   1       00:00:01.500000  1 2 3\r\n");
  RealAsciiOperators operators;
  NullProgress progress;
  RecordingHost host;
  ASSERT_EQ(operators.Run(CalcMode::kVisualAeToAscii, dir / "run.txt", progress, host),
            CalcStatus::kDone);
  EXPECT_EQ(host.written, std::vector<std::string>{LocationTablePath(dir / "run.txt")});
  RecordingHost missing;
  EXPECT_NE(operators.Run(CalcMode::kVisualAeToAscii, dir / "none.txt", progress, missing),
            CalcStatus::kDone);
  EXPECT_TRUE(missing.written.empty());
}

}  // namespace
}  // namespace plexo
