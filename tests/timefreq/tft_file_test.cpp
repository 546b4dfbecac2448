#include "timefreq/tft_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::TempDir;

class TftFile : public ::testing::Test {
 protected:
  void SetUp() override {
    matrix.ZeroRegion(3, 3);
    matrix.Row(0)[0] = {3.0, 4.0};
    matrix.Row(0)[1] = {1.0, -0.25};
    matrix.Row(1)[0] = {-1e300, 1e300};  // modulus beyond the square's range
    matrix.Row(1)[1] = {0.0, -0.0};
  }
  TempDir dir;
  TftMatrix matrix;
};

const char kHead[] =
    "Channel:\t4\r\n"
    "Time of Record:\t1.250000e+000\r\n"
    "Timeresolution:\t1.000000e-007\r\n";

TEST_F(TftFile, ModulusFileIsExactlyTheLayout) {
  const std::string path = dir.File("x_wt.txt");
  ASSERT_TRUE(WriteTftModulus(path, matrix, 3, 2, 1e4, 1e-5, 4, 1.25, 1e-7));
  EXPECT_EQ(ReadBytes(path), std::string(kHead) +
                                 "Frequency[Hz]/Time[s]\t1.010000e-005\t1.020000e-005\t\r\n"
                                 "1.000000e+004\t5.000000e+000\t1.030776e+000\t\r\n"
                                 "2.000000e+004\t1.414214e+300\t0.000000e+000\t\r\n");
}

TEST_F(TftFile, ComplexFileHoldsRealCommaImaginary) {
  const std::string path = dir.File("x_wt.txt");
  ASSERT_TRUE(WriteTftComplex(path, matrix, 3, 2, 1e4, 0.0, 4, 1.25, 1e-7));
  EXPECT_EQ(ReadBytes(path),
            std::string(kHead) +
                "Frequency[Hz]/Time[s]\t1.000000e-007\t2.000000e-007\t\r\n"
                "1.000000e+004\t3.000000e+000,4.000000e+000\t1.000000e+000,-2.500000e-001\t\r\n"
                "2.000000e+004\t-1.000000e+300,1.000000e+300\t0.000000e+000,-0.000000e+000\t\r\n");
}

TEST_F(TftFile, DegenerateGridsKeepTheHeaderLines) {
  const std::string path = dir.File("x_wt.txt");
  ASSERT_TRUE(WriteTftModulus(path, matrix, 0, 2, 1e4, 0.0, 4, 1.25, 1e-7));
  EXPECT_EQ(ReadBytes(path), kHead);
  ASSERT_TRUE(WriteTftModulus(path, matrix, -3, 2, 1e4, 0.0, 4, 1.25, 1e-7));
  EXPECT_EQ(ReadBytes(path), kHead);
  ASSERT_TRUE(WriteTftModulus(path, matrix, 1, 2, 1e4, 0.0, 4, 1.25, 1e-7));
  EXPECT_EQ(ReadBytes(path),
            std::string(kHead) + "Frequency[Hz]/Time[s]\t1.000000e-007\t2.000000e-007\t\r\n");
  ASSERT_TRUE(WriteTftComplex(path, matrix, 3, 0, 1e4, 0.0, 4, 1.25, 1e-7));
  EXPECT_EQ(ReadBytes(path), std::string(kHead) +
                                 "Frequency[Hz]/Time[s]\t\r\n"
                                 "1.000000e+004\t\r\n"
                                 "2.000000e+004\t\r\n");
}

TEST_F(TftFile, GridsBeyondTheMatrixAndUnwritablePathsWriteNothing) {
  const std::string path = dir.File("x_wt.txt");
  EXPECT_FALSE(WriteTftModulus(path, matrix, TFT_MAX_ROWS + 2, 2, 1e4, 0.0, 4, 1.25, 1e-7));
  EXPECT_FALSE(WriteTftComplex(path, matrix, 3, TFT_ROW_STRIDE + 1, 1e4, 0.0, 4, 1.25, 1e-7));
  EXPECT_FALSE(Exists(path));
  EXPECT_FALSE(
      WriteTftModulus(dir.File("missing/x_wt.txt"), matrix, 3, 2, 1e4, 0.0, 4, 1.25, 1e-7));
}

TEST_F(TftFile, EveryRowAndColumnOfTheMatrixIsWritable) {
  const std::string path = dir.File("big_wt.txt");
  ASSERT_TRUE(WriteTftModulus(path, matrix, 3, TFT_ROW_STRIDE, 1e4, 0.0, 4, 1.25, 1e-7));
  EXPECT_NE(ReadBytes(path).find("\t1.638400e-003\t\r\n1.000000e+004\t"), std::string::npos);
  ASSERT_TRUE(WriteTftModulus(path, matrix, TFT_MAX_ROWS + 1, 1, 1e4, 0.0, 4, 1.25, 1e-7));
  EXPECT_NE(ReadBytes(path).find("\r\n5.120000e+006\t0.000000e+000\t\r\n"), std::string::npos);
}

// "%e" as printf writes it, widened to the three-digit exponent the files carry.
std::string PrintfE(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%e", value);
  std::string out(text);
  const size_t e = out.find('e');
  if (e != std::string::npos && out.size() - e == 4) out.insert(e + 2, "0");
  return out;
}

TEST_F(TftFile, ManyRowsAreWrittenInRowOrder) {
  // More rows than one chunk of formatting holds, in several waves, with an uneven last chunk.
  constexpr int kRows = 71, kColumns = 5;
  matrix.ZeroRegion(kRows, kColumns);
  for (int r = 0; r < kRows - 1; ++r) {
    for (int c = 0; c < kColumns; ++c) matrix.Row(r)[c] = {r + 0.5 * c, std::sin(r * 7.0 + c)};
  }
  std::string expected = std::string(kHead) + "Frequency[Hz]/Time[s]\t";
  for (int g = 1; g <= kColumns; ++g) expected += PrintfE(g * 1e-7) + "\t";
  expected += "\r\n";
  for (int r = 0; r < kRows - 1; ++r) {
    expected += PrintfE((r + 1) * 1e4) + "\t";
    for (int c = 0; c < kColumns; ++c)
      expected += PrintfE(std::hypot(matrix.Row(r)[c].re, matrix.Row(r)[c].im)) + "\t";
    expected += "\r\n";
  }
  const std::string path = dir.File("many_wt.txt");
  ASSERT_TRUE(WriteTftModulus(path, matrix, kRows, kColumns, 1e4, 0.0, 4, 1.25, 1e-7));
  EXPECT_EQ(ReadBytes(path), expected);
}

}  // namespace
}  // namespace plexo
