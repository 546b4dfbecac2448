// --wavelet-method fft as a user runs it: the printed tables against the direct sum's, cell by
// cell, and the same bytes on every thread count.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "signal/setup_file.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"
#include "timefreq/cwt_row.h"

namespace plexo {
namespace {

using testing::ReadBytes;
using testing::RunPlexo;
using testing::TempDir;

// Lines of a table split at CR LF, each split at tabs.
std::vector<std::vector<std::string>> Cells(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::vector<std::string> cells;
    const std::string line = text.substr(start, end - start);
    size_t from = 0;
    for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', from)) {
      cells.push_back(line.substr(from, tab - from));
      from = tab + 1;
    }
    cells.push_back(line.substr(from));
    lines.push_back(cells);
    start = end + 2;
  }
  return lines;
}

// How the printed cells of two tables of the same shape differ: cells whose text differs, and
// the largest difference of those relative to the larger of the two values.
struct TableDifference {
  long long cells = 0;
  long long differing = 0;
  double largestRelative = 0.0;
  bool sameShape = true;
};

TableDifference Compare(const std::string& a, const std::string& b, size_t firstLine,
                        size_t firstColumn) {
  const auto x = Cells(a);
  const auto y = Cells(b);
  TableDifference d;
  if (x.size() != y.size()) d.sameShape = false;
  for (size_t l = firstLine; l < x.size() && l < y.size(); ++l) {
    if (x[l].size() != y[l].size()) d.sameShape = false;
    for (size_t c = firstColumn; c < x[l].size() && c < y[l].size(); ++c) {
      if (x[l][c].empty() && y[l][c].empty()) continue;
      ++d.cells;
      if (x[l][c] == y[l][c]) continue;
      ++d.differing;
      const double u = std::strtod(x[l][c].c_str(), nullptr);
      const double v = std::strtod(y[l][c].c_str(), nullptr);
      const double scale = std::max(std::fabs(u), std::fabs(v));
      d.largestRelative = std::max(d.largestRelative, scale > 0 ? std::fabs(u - v) / scale : 0.0);
    }
  }
  return d;
}

class WaveletMethodCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SaveSetup(CalcSettings{}, "", "", "", setup));
    std::filesystem::create_directory(dir.File("in"));
    for (const char* name : {"hit_001.txt", "hit_002.txt", "hit_003.txt", "hit_004.txt"})
      std::filesystem::copy_file(std::string(PLEXO_EXAMPLES_DIR) + "/" + name,
                                 dir.File("in/") + name);
  }
  std::string Tft(const std::string& method, int jobs) {
    const testing::PlexoResult r =
        RunPlexo("tft " + dir.File("in/hit_002.txt") + " --setup " + setup + " --no-preview -j " +
                 std::to_string(jobs) + " --wavelet-method " + method);
    EXPECT_EQ(r.status, 0) << r.output;
    return ReadBytes(dir.File("in/hit_002_wt.txt"));
  }
  std::string Features(const std::string& method, int jobs) {
    const testing::PlexoResult r = RunPlexo("features " + dir.File("in") + " --all -j " +
                                            std::to_string(jobs) + " --wavelet-method " + method);
    EXPECT_EQ(r.status, 0) << r.output;
    return ReadBytes(dir.File("in/FXData/FX_Results.txt"));
  }
  TempDir dir;
  const std::string setup = dir.File("fresh.ini");
};

TEST_F(WaveletMethodCommand, TheFftMapDiffersFromTheDirectSumOnlyInRareLastDigits) {
  const std::string direct = Tft("direct", 1);
  const std::string fft = Tft("fft", 1);
  const TableDifference d = Compare(direct, fft, 3, 1);
  EXPECT_TRUE(d.sameShape);
  EXPECT_EQ(d.cells, 100LL * 4000);  // 100 rows of 4000 columns
  // At most one cell in ten thousand, and then by a unit of the last printed digit.
  EXPECT_LE(d.differing * 10000, d.cells) << d.differing << " of " << d.cells;
  EXPECT_LE(d.largestRelative, 2e-6);
  // The header lines (channel, time, resolution, times) are the same text.
  EXPECT_EQ(direct.substr(0, direct.find("\r\n", direct.find("Frequency"))),
            fft.substr(0, fft.find("\r\n", fft.find("Frequency"))));
}

TEST_F(WaveletMethodCommand, FftResultsDoNotDependOnTheThreadCount) {
  EXPECT_EQ(Tft("fft", 1), Tft("fft", 3));
  EXPECT_EQ(Features("fft", 1), Features("fft", 2));
}

TEST_F(WaveletMethodCommand, OnlyTheWaveletColumnsOfTheFeatureTableMayDiffer) {
  const auto direct = Cells(Features("direct", 2));
  const auto fft = Cells(Features("fft", 2));
  ASSERT_EQ(direct.size(), fft.size());
  ASSERT_GE(direct.size(), 5u);  // the titles, then one row per file
  const std::vector<std::string>& titles = direct[0];
  for (size_t l = 1; l < direct.size(); ++l) {
    ASSERT_EQ(direct[l].size(), fft[l].size());
    for (size_t c = 0; c < direct[l].size(); ++c) {
      const bool wavelet =
          c < titles.size() && (titles[c].find("modulus maximus") != std::string::npos ||
                                titles[c].find("time-frequeny power") != std::string::npos);
      if (!wavelet) {
        EXPECT_EQ(direct[l][c], fft[l][c]) << "line " << l << " column " << titles[c];
        continue;
      }
      const double u = std::strtod(direct[l][c].c_str(), nullptr);
      const double v = std::strtod(fft[l][c].c_str(), nullptr);
      EXPECT_LE(std::fabs(u - v), 2e-6 * std::max(std::fabs(u), std::fabs(v)))
          << "line " << l << " column " << titles[c];
    }
  }
}

TEST(WaveletMethodSetup, TheNewKeyIsStoredOnlyWhenItIsNotTheDefaultAndReadsBack) {
  TempDir dir;
  CalcSettings settings;
  ASSERT_TRUE(SaveSetup(settings, "", "", "", dir.File("a.ini")));
  EXPECT_EQ(ReadBytes(dir.File("a.ini")).find("[WT-Method]"), std::string::npos);
  settings.wtMethod = 1;
  ASSERT_TRUE(SaveSetup(settings, "", "", "", dir.File("b.ini")));
  const std::string text = ReadBytes(dir.File("b.ini"));
  EXPECT_NE(text.find("[WT-Select]\t0\r\n[WT-Method]\t1\r\n"), std::string::npos) << text;
  CalcSettings read;
  std::string fft, wt, hw;
  ASSERT_TRUE(LoadSetup(read, fft, wt, hw, dir.File("b.ini")));
  EXPECT_EQ(read.wtMethod, 1);
  // A file an older version wrote leaves the direct sum.
  CalcSettings old;
  old.wtMethod = 1;
  ASSERT_TRUE(LoadSetup(old, fft, wt, hw, dir.File("a.ini")));
  EXPECT_EQ(old.wtMethod, 1);  // missing keys keep their values, as for every key
  // The command line takes the setup file's choice unless --wavelet-method is given.
  testing::WriteBytes(dir.File("hit.txt"),
                      ReadBytes(std::string(PLEXO_EXAMPLES_DIR) + "/hit_001.txt"));
  const testing::PlexoResult viaSetup =
      RunPlexo("tft " + dir.File("hit.txt") + " --no-preview --setup " + dir.File("b.ini"));
  ASSERT_EQ(viaSetup.status, 0) << viaSetup.output;
  const std::string fromSetup = ReadBytes(dir.File("hit_wt.txt"));
  ASSERT_EQ(RunPlexo("tft " + dir.File("hit.txt") + " --no-preview --setup " + dir.File("a.ini") +
                     " --wavelet-method fft")
                .status,
            0);
  EXPECT_EQ(fromSetup, ReadBytes(dir.File("hit_wt.txt")));
  ASSERT_EQ(RunPlexo("tft " + dir.File("hit.txt") + " --no-preview --setup " + dir.File("b.ini") +
                     " --wavelet-method direct")
                .status,
            0);
  EXPECT_NE(fromSetup, ReadBytes(dir.File("hit_wt.txt")));
}

}  // namespace
}  // namespace plexo

namespace plexo {
namespace {

// Where the transform costs more than the taps, fft rows are the direct sum: the table is the
// direct method's byte for byte (a short wavelet), while a long one takes the transform.
TEST(WaveletMethodChoice, ShortWaveletsKeepTheDirectSumLongOnesTakeTheTransform) {
  // The measured crossover lies between 51 and 201 taps for windows of 200 to 4000 columns.
  for (int columns : {200, 500, 4000}) {
    EXPECT_EQ(RowMethod(WaveletMethod::kFft, columns, 11), WaveletMethod::kDirect) << columns;
    EXPECT_EQ(RowMethod(WaveletMethod::kFft, columns, 51), WaveletMethod::kDirect) << columns;
    EXPECT_EQ(RowMethod(WaveletMethod::kFft, columns, 201), WaveletMethod::kFft) << columns;
    EXPECT_EQ(RowMethod(WaveletMethod::kFft, columns, 1001), WaveletMethod::kFft) << columns;
    EXPECT_EQ(RowMethod(WaveletMethod::kDirect, columns, 1001), WaveletMethod::kDirect);
  }
  EXPECT_EQ(RowMethod(WaveletMethod::kFft, 0, 1001), WaveletMethod::kDirect);
  EXPECT_EQ(RowMethod(WaveletMethod::kFft, 4000, 0), WaveletMethod::kDirect);

  TempDir dir;
  testing::WriteBytes(dir.File("hit.txt"),
                      ReadBytes(std::string(PLEXO_EXAMPLES_DIR) + "/hit_001.txt"));
  std::string tables[2];
  for (int k = 0; k < 2; ++k) {
    const testing::PlexoResult run =
        RunPlexo("tft " + dir.File("hit.txt") + " --no-preview --wavelet-length 21" +
                 " --wavelet-method " + (k == 0 ? "direct" : "fft"));
    ASSERT_EQ(run.status, 0) << run.output;
    tables[k] = ReadBytes(dir.File("hit_wt.txt"));
  }
  EXPECT_EQ(tables[0], tables[1]);
}

}  // namespace
}  // namespace plexo
