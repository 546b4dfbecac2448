#include "signal/setup_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "signal/calc_settings.h"

namespace plexo {
namespace {

// A scratch folder per test, removed afterwards.
class SetupFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/plexo_setup_test_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string PathOf(const std::string& name) const { return dir_ + "/" + name; }

  std::string WriteBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream out(PathOf(name), std::ios::binary);
    out << bytes;
    return PathOf(name);
  }

  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::string dir_;
};

CalcSettings Unusual() {
  CalcSettings s;
  s.fftPrecision = 12;
  s.fftWindow = 1;
  s.wtSize = 2001;
  s.wtType = 0;
  s.timeStart = 1.5e-5;
  s.timeEnd = 3.25e-4;
  s.timeRes = 2e-7;
  s.freqStart = 2.5e4;
  s.freqEnd = 8.75e5;
  s.freqRes = 5e3;
  s.autoResTime = 0;
  s.autoRoi = 1;
  s.autoResFreq = 1;
  s.wtComplex = 1;
  s.threshold = 0.125;
  s.fftOutputType = 1;
  s.cwdSize = 3;
  s.cwdSigma = 7;
  s.wtSelect = 1;
  return s;
}

TEST_F(SetupFileTest, WritesTheTwentyFourLinesWithCrLf) {
  CalcSettings s = Unusual();
  s.fftWindow = 1.9;  // %d fields are truncated toward zero
  s.wtSelect = -0.5;
  s.timeStart = 1.234567e-5;
  const std::string path = PathOf("Setup.ini");
  ASSERT_TRUE(SaveSetup(s, "/data/fft dir", "/data/wt.txt", "/data/hw.txt", path));
  EXPECT_EQ(ReadBytes(path),
            "[FFT-Precision]\t12\r\n"
            "[FFT-Window]\t1\r\n"
            "[FFT-Path]\t/data/fft dir\r\n"
            "\r\n"
            "[WT-Size]\t2001\r\n"
            "[WT-Type]\t0\r\n"
            "[WT-TimeStart]\t1.234567e-005\r\n"
            "[WT-TimeEnd]\t3.250000e-004\r\n"
            "[WT-TimeRes]\t2.000000e-007\r\n"
            "[WT-FreqStart]\t2.500000e+004\r\n"
            "[WT-FreqEnd]\t8.750000e+005\r\n"
            "[WT-FreqRes]\t5.000000e+003\r\n"
            "[WT-AutoResTime]\t0\r\n"
            "[WT-AutoROI]\t1\r\n"
            "[WT-AutoResFreq]\t1\r\n"
            "[WT-Complex]\t1\r\n"
            "[WT-Threshold]\t1.250000e-001\r\n"
            "[FFT-Outputtype]\t1\r\n"
            "[WT-Path]\t/data/wt.txt\r\n"
            "\r\n"
            "[HW-Path]\t/data/hw.txt\r\n"
            "[CWD-Size]\t3\r\n"
            "[CWD-Sigma]\t7\r\n"
            "[WT-Select]\t0\r\n");
}

TEST_F(SetupFileTest, RoundTripKeepsEveryFieldAndPath) {
  const CalcSettings saved = Unusual();
  const std::string path = PathOf("round.ini");
  ASSERT_TRUE(SaveSetup(saved, "C:/a b/ü.txt", "", "hw\tx", path));
  CalcSettings loaded;
  std::string fft = "old", wt = "old", hw = "old";
  ASSERT_TRUE(LoadSetup(loaded, fft, wt, hw, path));
  EXPECT_EQ(loaded, saved);
  EXPECT_EQ(fft, "C:/a b/ü.txt");
  EXPECT_EQ(wt, "");
  EXPECT_EQ(hw, "hw\tx");  // only the first tab separates key and value
}

TEST_F(SetupFileTest, DefaultsSurviveARoundTrip) {
  const std::string path = PathOf("defaults.ini");
  ASSERT_TRUE(SaveSetup(DefaultCalcSettings(), "", "", "", path));
  CalcSettings loaded = Unusual();
  std::string fft = "x", wt = "x", hw = "x";
  ASSERT_TRUE(LoadSetup(loaded, fft, wt, hw, path));
  EXPECT_EQ(loaded, DefaultCalcSettings());
  EXPECT_EQ(fft + wt + hw, "");
}

TEST_F(SetupFileTest, DialogTextKeepsThreeSignificantDigits) {
  // The grid passes through the dialog's "%.2e" text before the dialog saves it.
  CalcSettings s;
  s.timeRes = DialogTextToValue(DialogTextExponent(1.2345e-4));
  const std::string path = PathOf("dialog.ini");
  ASSERT_TRUE(SaveSetup(s, "", "", "", path));
  EXPECT_NE(ReadBytes(path).find("[WT-TimeRes]\t1.230000e-004\r\n"), std::string::npos);
}

TEST_F(SetupFileTest, ReaderAcceptsForeignOrderExtraLinesAndLfOnly) {
  const std::string path = WriteBytes("foreign.ini",
                                      "; written by hand\n"
                                      "[WT-Select]\t1\n"
                                      "[HW-Path]\t/h.txt\n"
                                      "no tab on this line\n"
                                      "[Unknown-Key]\t42\n"
                                      "\n"
                                      "[WT-FreqEnd]\t  5e5 Hz\n"
                                      "[wt-size]\t77\n"     // keys are case-sensitive
                                      "[FFT-Window] \t1\n"  // blank before the tab
                                      "[WT-Size]\t300\n"
                                      "[WT-Size]\t301.7\n"     // the last one wins
                                      "[WT-Threshold]\tabc\n"  // atof: no number is 0
                                      "[WT-Path]\t\n"          // empty path
                                      "[FFT-Path]\t/f.txt");   // no line end at the end
  CalcSettings s;
  std::string fft = "keep", wt = "keep", hw = "keep";
  ASSERT_TRUE(LoadSetup(s, fft, wt, hw, path));
  CalcSettings expected;
  expected.wtSelect = 1;
  expected.freqEnd = 5e5;
  expected.wtSize = 301.7;
  expected.threshold = 0;
  EXPECT_EQ(s, expected);
  EXPECT_EQ(fft, "/f.txt");
  EXPECT_EQ(wt, "");
  EXPECT_EQ(hw, "/h.txt");
}

TEST_F(SetupFileTest, CrLfAndLfFilesLoadTheSameValues) {
  std::string lf;
  {
    const std::string saved = PathOf("crlf.ini");
    ASSERT_TRUE(SaveSetup(Unusual(), "/p/f", "/p/w", "/p/h", saved));
    std::string crlf = ReadBytes(saved);
    for (char c : crlf)
      if (c != '\r') lf.push_back(c);
  }
  CalcSettings from_crlf, from_lf;
  std::string f1, w1, h1, f2, w2, h2;
  ASSERT_TRUE(LoadSetup(from_crlf, f1, w1, h1, PathOf("crlf.ini")));
  ASSERT_TRUE(LoadSetup(from_lf, f2, w2, h2, WriteBytes("lf.ini", lf)));
  EXPECT_EQ(from_crlf, Unusual());
  EXPECT_EQ(from_lf, Unusual());
  EXPECT_EQ(f1, "/p/f");  // no CR left on a path
  EXPECT_EQ(std::string(f1 + w1 + h1), f2 + w2 + h2);
}

TEST_F(SetupFileTest, UnopenableFileReturnsFalseAndChangesNothing) {
  // A named pipe with no writer must be refused, not waited on for ever.
  const std::string pipe = PathOf("pipe.ini");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& path : {PathOf("missing.ini"), dir_, pipe}) {
    SCOPED_TRACE(path);
    CalcSettings s = Unusual();
    std::string fft = "f", wt = "w", hw = "h";
    EXPECT_FALSE(LoadSetup(s, fft, wt, hw, path));
    EXPECT_EQ(s, Unusual());
    EXPECT_EQ(fft + wt + hw, "fwh");
  }
}

TEST_F(SetupFileTest, FailedSaveKeepsTheOldFile) {
  const std::string path = PathOf("kept.ini");
  ASSERT_TRUE(SaveSetup(Unusual(), "a", "b", "c", path));
  const std::string before = ReadBytes(path);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(SaveSetup(CalcSettings{}, "", "", "", PathOf("no such folder/x.ini")));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "File open NOT succesfull\n");
  EXPECT_EQ(ReadBytes(path), before);
}

// Each row: value, the dialog's text of it.
struct DialogTextCase {
  double value;
  std::string exponent;  // "%.2e"
  std::string integer;   // "%.0lf"
  std::string fixed4;    // "%.4f"
};

class DialogTextTest : public ::testing::TestWithParam<DialogTextCase> {};

TEST_P(DialogTextTest, FormatsLikePrintf) {
  const DialogTextCase& c = GetParam();
  EXPECT_EQ(DialogTextExponent(c.value), c.exponent);
  EXPECT_EQ(DialogTextInteger(c.value), c.integer);
  EXPECT_EQ(DialogTextThreshold(c.value), c.fixed4);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DialogTextTest,
    ::testing::Values(DialogTextCase{0, "0.00e+000", "0", "0.0000"},
                      DialogTextCase{1.2345e-4, "1.23e-004", "0", "0.0001"},
                      DialogTextCase{1001, "1.00e+003", "1001", "1001.0000"},
                      DialogTextCase{2.5, "2.50e+000", "2", "2.5000"},  // round half to even
                      DialogTextCase{-0.1, "-1.00e-001", "-0", "-0.1000"},
                      DialogTextCase{1e22, "1.00e+022", "10000000000000000000000",
                                     "10000000000000000000000.0000"}));

TEST(DialogTextToValue, FollowsAtof) {
  EXPECT_EQ(DialogTextToValue("1.00e-05"), 1e-5);
  EXPECT_EQ(DialogTextToValue("  2.5abc"), 2.5);
  EXPECT_EQ(DialogTextToValue(""), 0.0);
  EXPECT_EQ(DialogTextToValue("x1"), 0.0);
  EXPECT_EQ(DialogTextToValue("1,5"), 1.0);  // never the locale's comma
}

}  // namespace
}  // namespace plexo
