// plexo import as a user runs it, and the spectrum of an imported CSV export.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "import/import_reference.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::ReadBytes;
using testing::RunPlexo;
using testing::TempDir;
using testing::WriteBytes;

// A decaying burst as the CSV export holds it, `n` rows at 1 us.
std::string BurstCsv(int n) {
  std::string text =
      "SOURCE FILE NAME: C:\\data\\1.DTA\nDATE: Monday, April 20, 2026\nTIME: 12:13:47\n"
      "SAMPLE INTERVAL (Seconds):   0.0000010000\nSIGNAL UNITS: volts\nTIME UNITS: Seconds\n"
      "DATA TYPE: WAVEFORM\nNUMBER OF DATA POINTS PER WAVEFORM: " +
      std::to_string(n) + "\nCHANNEL NUMBER: 1\nHIT NUMBER: 100\nTIME OF TEST: 40.5456285\n\n";
  for (int i = 0; i < n; ++i) {
    char row[64];
    std::snprintf(row, sizeof row, "%.8f, %.8f\n", -0.000256 + 1e-6 * i,
                  0.3 * std::exp(-i / 150.0) * std::sin(0.37 * i) + 0.002);
    text += row;
  }
  return text;
}

// `plexo fft` of the import equals the textbook spectrum of the volts column. The waveform
// reader stores the first sample of the layout as 0, so the reference does too.
void ExpectFftOfImportIsTheSpectrumOfTheVolts(const std::string& csv_path) {
  TempDir dir;
  auto r = RunPlexo("import " + csv_path + " --to " + dir.path());
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("twelve-line CSV export"), std::string::npos) << r.output;
  const std::string imported = dir / (std::filesystem::path(csv_path).stem().string() + ".txt");
  r = RunPlexo("fft " + imported);
  ASSERT_EQ(r.status, 0) << r.output;

  std::vector<double> volts = testing::ColumnOf(ReadBytes(csv_path), 12, 1);
  volts[0] = 0.0;
  int n = 1;
  while (n < static_cast<int>(volts.size())) n *= 2;
  const std::vector<Complex> expected = testing::PlainDft(volts, n);
  double scale = 0.0;
  for (const Complex& x : expected) scale = std::max(scale, std::hypot(x.re, x.im));

  std::istringstream fft(
      ReadBytes(dir / (std::filesystem::path(imported).stem().string() + "_fft.txt")));
  std::string line;
  for (int i = 0; i < 4; ++i) std::getline(fft, line);
  int k = 0;
  for (; std::getline(fft, line); ++k) {
    double f = 0, re = 0, im = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%lf\t%lf\t%lf", &f, &re, &im), 3) << line;
    ASSERT_LT(k, n / 2);
    EXPECT_NEAR(f, k / (n * 1e-6), 1e-6 * f + 1e-9) << k;
    EXPECT_NEAR(re, expected[k].re, 1e-6 * scale) << k;
    EXPECT_NEAR(im, expected[k].im, 1e-6 * scale) << k;
  }
  EXPECT_EQ(k, n / 2);
}

TEST(ImportCli, FftOfAnImportedCsvExportIsTheSpectrumOfItsVolts) {
  TempDir dir;
  WriteBytes(dir / "burst.csv", BurstCsv(1000));
  ExpectFftOfImportIsTheSpectrumOfTheVolts(dir / "burst.csv");
}

TEST(ImportCli, FftOfTheRealCsvExportIsTheSpectrumOfItsVolts) {
  const std::string real = testing::RealDataDir() + "/aewin594-csv-express8/1_1_100_40545628.csv";
  if (!std::filesystem::exists(real)) GTEST_SKIP() << "no " << real;
  ExpectFftOfImportIsTheSpectrumOfTheVolts(real);
}

// A line end in --units would put a second header line into every file written.
TEST(ImportCli, UnitsWithControlCharactersAreRefusedNamingTheOption) {
  TempDir dir;
  WriteBytes(dir / "EXP1_1_5_100.txt", "0.5\n0.25\n");
  for (const char* units :
       {"\"$(printf 'volts\\r\\nSAMPLE INTERVAL (Seconds): 5e-3')\"", "\"$(printf 'mV\\tx')\""}) {
    auto r = RunPlexo("import " + (dir / "EXP1_1_5_100.txt") + " --to " + (dir / "out") +
                      " --dt 1e-7 --units " + units);
    EXPECT_NE(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("--units must not hold control characters"), std::string::npos)
        << r.output;
    EXPECT_FALSE(testing::Exists(dir / "out/EXP1_1_5_100.txt"));
  }
}

TEST(ImportCli, SaysWhatItRecognisedAndRefusesWithAReason) {
  TempDir dir;
  WriteBytes(dir / "EXP1_1_5_100.txt", "0.5\n0.25\n");
  auto r = RunPlexo("import " + (dir / "EXP1_1_5_100.txt") + " --to " + (dir / "out"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("EXP1_1_5_100.txt: refused: a headerless file has no sample interval: "
                          "give it with --dt SECONDS"),
            std::string::npos)
      << r.output;
  EXPECT_FALSE(testing::Exists(dir / "out/EXP1_1_5_100.txt"));

  r = RunPlexo("import " + (dir / "EXP1_1_5_100.txt") + " --to " + (dir / "out") + " --dt 1e-7");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("EXP1_1_5_100.txt: headerless column of samples, 2 samples"),
            std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("Imported 1 of 1 files into"), std::string::npos) << r.output;

  r = RunPlexo("import " + (dir / "EXP1_1_5_100.txt") + " --to " + (dir / "out") + " --dt 1e-7");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("--force replaces"), std::string::npos) << r.output;

  r = RunPlexo("import " + (dir / "EXP1_1_5_100.txt") + " --to " + (dir / "out") + " --dt -1");
  EXPECT_NE(r.status, 0);
  r = RunPlexo("import " + (dir / "EXP1_1_5_100.txt"));
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.output.find("--to"), std::string::npos) << r.output;
}

}  // namespace
}  // namespace plexo
