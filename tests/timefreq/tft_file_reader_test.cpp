// The TFT-file reader against a literal reading of the layout rules (whole file in memory, split
// at line ends and tabs), on hand-made files, oversized and random ones, and on the files the
// writers produce.
#include "timefreq/tft_file_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "signal/number_text.h"
#include "support/temp_dir.h"
#include "timefreq/tft_file.h"

namespace plexo {
namespace {

using plexo::testing::TempDir;
using plexo::testing::WriteBytes;

// What the layout rules give, read the plain way.
struct Expected {
  int rows = 0, columns = 0, channel = 0;
  double timeOfRecord = 0, timeResolution = 0, frequencyResolution = 0;
  std::map<std::pair<int, int>, double> cells;  // every non-zero matrix entry
};

std::vector<std::string> Split(const std::string& text, char at) {
  std::vector<std::string> parts(1);
  for (char ch : text) {
    if (ch == at)
      parts.emplace_back();
    else
      parts.back() += ch;
  }
  return parts;
}

Expected ReadPlainly(const std::string& file) {
  Expected e;
  std::vector<std::string> lines = Split(file, '\n');
  if (lines.back().empty()) lines.pop_back();  // the text after the last line end
  const auto from = [](const std::string& line, size_t k) {
    return k < line.size() ? line.substr(k) : std::string();
  };
  double f5 = 0, f6 = 0;
  for (size_t l = 0; l < lines.size(); ++l) {
    const std::string& line = lines[l];
    if (l == 0) e.channel = ParseInt(from(line, 8));
    if (l == 1) e.timeOfRecord = ParseDouble(from(line, 15));
    if (l == 2) e.timeResolution = ParseDouble(from(line, 15));
    if (l == 3 && line.size() > 1)
      e.columns = static_cast<int>(std::count(line.begin() + 1, line.end(), '\t'));
    if (l < 4 || l > 514) continue;
    const std::vector<std::string> parts = Split(line, '\t');
    if (l == 5) f5 = ParseDouble(parts[0]);
    if (l == 6) f6 = ParseDouble(parts[0]);
    // Cell j is parts[j]; only cells with a tab after them, i.e. not the last part.
    for (size_t j = 1; j + 1 < parts.size() && j < 16384; ++j) {
      const std::string& cell = parts[j];
      double value = ParseDouble(cell);
      if (cell.find(',') != std::string::npos)
        value = std::hypot(value, ParseDouble(cell.substr(cell.find(',') + 1)));
      if (value != 0.0) e.cells[{static_cast<int>(l) - 4, static_cast<int>(j)}] = value;
    }
  }
  e.rows = std::clamp(static_cast<int>(lines.size()) - 3, 0, 512);
  e.columns = std::min(e.columns, 16384);
  e.frequencyResolution = f6 - f5;
  return e;
}

// Compares the whole matrix (or its first `scanColumns` columns), not only where the file has
// cells.
void ExpectContent(const TftFileContent& content, int result, const Expected& e,
                   int scanColumns = TFT_ROW_STRIDE) {
  EXPECT_EQ(result, e.rows);
  EXPECT_EQ(content.rows, e.rows);
  EXPECT_EQ(content.columns, e.columns);
  EXPECT_EQ(content.channel, e.channel);
  EXPECT_EQ(content.timeOfRecord, e.timeOfRecord);
  EXPECT_EQ(content.timeResolution, e.timeResolution);
  EXPECT_EQ(content.frequencyResolution, e.frequencyResolution);
  int wrong = 0;
  for (int r = 0; r < TFT_MAX_ROWS; ++r) {
    const double* row = content.Matrix() + static_cast<std::ptrdiff_t>(r) * TFT_ROW_STRIDE;
    for (int c = 0; c < scanColumns; ++c) {
      if (row[c] == 0.0) continue;
      auto found = e.cells.find({r, c});
      const bool same =
          found != e.cells.end() &&
          (row[c] == found->second || (std::isnan(row[c]) && std::isnan(found->second)));
      if (!same && ++wrong <= 5) ADD_FAILURE() << "matrix (" << r << ", " << c << ") = " << row[c];
    }
  }
  int present = 0;
  for (const auto& [at, value] : e.cells) present += content.At(at.first, at.second) != 0.0;
  EXPECT_EQ(present, static_cast<int>(e.cells.size()));
}

const std::string kHeader =
    "Channel:\t3\nTime of Record:\t1.500000e+000\nTimeresolution:\t1.000000e-007\n";

std::string Rows(int rows, int cells, const std::function<std::string(int, int)>& cell) {
  std::string text;
  for (int r = 0; r < rows; ++r) {
    text += FormatE((r + 1) * 1e4) + "\t";
    for (int c = 1; c <= cells; ++c) text += cell(r, c) + "\t";
    text += "\n";
  }
  return text;
}

struct LayoutCase {
  const char* name;
  std::function<std::string()> file;
};
void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class TftLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(TftLayoutTest, ReadsWhatTheLayoutRulesSay) {
  TempDir folder;
  const std::string text = GetParam().file();
  WriteBytes(folder.File("x.txt"), text);
  TftFileContent content;
  ExpectContent(content, ReadTftFile(folder.File("x.txt"), content), ReadPlainly(text));
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Files, TftLayoutTest,
    ::testing::Values(
        LayoutCase{"Written",
                   [] {
                     return kHeader + "Frequency[Hz]/Time[s]\t1e-7\t2e-7\t\n" +
                            "1e4\t1\t2\t\n2e4\t3\t4\t\n3e4\t5\t6\t\n";
                   }},
        LayoutCase{"CrLfAndNoLastLineEnd",
                   [] {
                     return "Channel:\t7\r\nTime of Record:\t2\r\nTimeresolution:\t5e-7\r\n"
                            "F\t1\t2\t\r\n1e4\t1\t2\t\r\n2e4\t3\t4\t\r\n3.5e4\t5\t6\t";
                   }},
        LayoutCase{"LastCellWithoutTabIsNotTaken",
                   [] { return kHeader + "F\ta\tb\t\n1e4\t1\t2\n2e4\t3\t4\t5\n4e4\t\t6\t\n"; }},
        LayoutCase{"ComplexCellsAsModulus",
                   [] {
                     return kHeader + "F\ta\tb\t\n1e4\t3.0e+000,-4.0e+000\t1,0\t\n" +
                            "2e4\t0,-2\t,5\t\n3e4\t-6,8\t1e400,1\t\n";
                   }},
        LayoutCase{"TabAtPositionZeroOfTheHeaderIsNoColumn",
                   [] { return kHeader + "\tF\ta\t\n1e4\t1\t2\t\n"; }},
        LayoutCase{"OneMatrixLine", [] { return kHeader + "F\ta\t\n1e4\t9\t\n"; }},
        LayoutCase{"TwoMatrixLines", [] { return kHeader + "F\ta\t\n1e4\t9\t\n2e4\t8\t\n"; }},
        LayoutCase{"HeaderRowOnly", [] { return kHeader + "F\ta\tb\t\n"; }},
        LayoutCase{"ThreeLinesHoldNoData", [] { return kHeader; }},
        LayoutCase{"OneLine", [] { return std::string("Channel:\t3"); }},
        LayoutCase{"Empty", [] { return std::string(); }},
        LayoutCase{"ShortHeaderLinesAndBlankCells",
                   [] { return "C\nT\n\n\t\t\n  7 \t  8\t \t\n\n\n\n"; }},
        LayoutCase{"Garbage",
                   [] {
                     std::string s = "\x01\x02\xff\tnan\tinf\t-inf\t0x1p3\t\n\n\n";
                     s += std::string("\0\t\0\t\n", 5) + "\t\t\t\t\n" + "1\t1e-400\t-0\t\n";
                     return s;
                   }},
        LayoutCase{"MoreThan511MatrixLinesAreCountedNotStored",
                   [] {
                     return kHeader + "F\ta\t\n" +
                            Rows(600, 2, [](int r, int c) { return FormatE(r * 10 + c); });
                   }},
        LayoutCase{"MoreThan16383CellsAreIgnored",
                   [] {
                     return kHeader + "F" + Repeat("\tt", 20000) + "\t\n" +
                            Rows(3, 20000, [](int r, int c) { return FormatE(r + c); });
                   }},
        LayoutCase{"MegabyteCellsAndLines",
                   [] {
                     return kHeader + "F\ta\tb\t\n" + "1e4\t" + std::string(2'000'000, 'x') + "\t" +
                            std::string(1'500'000, ' ') + "4.5\t\n" + "2e4" +
                            std::string(3'000'000, '7') + "\n3e4\t1\t\n";
                   }}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

TEST(TftFileReader, RandomFilesReadAsTheRulesSay) {
  std::mt19937 random(11);
  const std::string alphabet = "0123456789.e-+,\t\t\t\n\n\r x";
  TempDir folder;
  TftFileContent content;  // kept across files, as the viewer keeps it
  for (int i = 0; i < 100; ++i) {
    std::string text = i % 2 ? kHeader : std::string();
    const int length = std::uniform_int_distribution<int>(0, 3000)(random);
    for (int k = 0; k < length; ++k)
      text += alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(random)];
    WriteBytes(folder.File("r.txt"), text);
    SCOPED_TRACE(i);
    // A file of n characters has no cell beyond column n.
    ExpectContent(content, ReadTftFile(folder.File("r.txt"), content), ReadPlainly(text),
                  static_cast<int>(text.size()) + 1);
    if (HasFailure()) break;
  }
}

TEST(TftFileReader, ASmallFileAfterALargeOneShowsOnlyTheSmallOne) {
  TempDir folder;
  const std::string large = kHeader + "F" + Repeat("\tt", 3000) + "\t\n" +
                            Rows(511, 3000, [](int, int) { return std::string("7"); });
  const std::string small = kHeader + "F\ta\t\n1e4\t2\t\n";
  WriteBytes(folder.File("large.txt"), large);
  WriteBytes(folder.File("small.txt"), small);
  TftFileContent content;
  EXPECT_EQ(ReadTftFile(folder.File("large.txt"), content), 512);
  EXPECT_EQ(content.At(510, 3000), 7.0);
  ExpectContent(content, ReadTftFile(folder.File("small.txt"), content), ReadPlainly(small));
  // A file that cannot be read leaves nothing of the last one either.
  EXPECT_EQ(ReadTftFile(folder.File("large.txt"), content), 512);
  EXPECT_EQ(ReadTftFile(folder.File("missing.txt"), content), -1);
  EXPECT_EQ(ReadTftFile(folder.path(), content), -1);
  EXPECT_EQ(content.rows, 0);
  EXPECT_EQ(content.At(510, 3000), 0.0);
}

// The files of the wavelet transform and the Wigner-Ville distribution read back: C = 99 time
// columns and R = 100 lines give C' = 100 and R = 100, row r holds frequency (r+1)*df, column 0
// and the last row stay empty; a complex file shows the modulus of its printed parts.
TEST(TftFileReader, ReadsBackWhatTheWritersWrite) {
  constexpr int kRows = 100, kColumns = 99;
  TftMatrix matrix;
  matrix.ZeroRegion(TFT_MAX_ROWS, TFT_ROW_STRIDE);
  for (int r = 0; r < kRows - 1; ++r)
    for (int c = 0; c < kColumns; ++c)
      matrix.Row(r)[c] = {std::sin(r * 0.37 + c * 0.11) * 1e-3, std::cos(r * 0.21 - c) * 2e-4};
  TempDir folder;
  ASSERT_TRUE(
      WriteTftModulus(folder.File("m.txt"), matrix, kRows, kColumns, 1e4, 0.0, 4, 12.5, 1e-7));
  ASSERT_TRUE(
      WriteTftComplex(folder.File("c.txt"), matrix, kRows, kColumns, 1e4, 0.0, 4, 12.5, 1e-7));
  const auto printed = [](double v) { return ParseDouble(FormatE(v)); };
  for (const bool complex : {false, true}) {
    SCOPED_TRACE(complex ? "complex" : "modulus");
    TftFileContent content;
    EXPECT_EQ(ReadTftFile(folder.File(complex ? "c.txt" : "m.txt"), content), kRows);
    EXPECT_EQ(content.columns, kColumns + 1);
    EXPECT_EQ(content.channel, 4);
    EXPECT_EQ(content.timeOfRecord, 12.5);
    EXPECT_EQ(content.timeResolution, 1e-7);
    EXPECT_EQ(content.frequencyResolution, 3e4 - 2e4);
    for (int r = 0; r < kRows; ++r) {
      EXPECT_EQ(content.At(r, 0), 0.0);
      for (int c = 1; c <= kColumns + 1; ++c) {
        const Complex v = r < kRows - 1 && c <= kColumns ? matrix.Row(r)[c - 1] : Complex{};
        const double expected =
            complex ? std::hypot(printed(v.re), printed(v.im)) : printed(std::hypot(v.re, v.im));
        ASSERT_EQ(content.At(r, c), expected) << r << ", " << c;
      }
    }
  }
}

}  // namespace
}  // namespace plexo
