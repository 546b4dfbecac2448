// Waveform files whose content cannot be a recording: a sample line that is not one finite
// number, a header value that is not finite, or a NUL byte (a binary file). Every reader
// refuses them and says which file and line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "signal/waveform_file.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::TempDir;
using testing::WriteBytes;

// Nine header lines (time of test on line 7, so the sample on line 9 is forced to zero), then
// the samples.
std::string Waveform9(const std::vector<std::string>& samples) {
  std::string text =
      "SOURCE FILE NAME: -/-\r\nDATE:\tx\r\nTIME:\ty\r\nSAMPLE INTERVAL (Seconds):   "
      "1.000000e-007\r\nUNITS:\tV\r\nCHANNEL NUMBER:\t1\r\nHIT NUMBER: -/-\r\n"
      "TIME OF TEST:\t0.000000e+000\r\n\r\n";
  for (const std::string& s : samples) text += s + "\r\n";
  return text;
}

struct ContentCase {
  const char* name;
  std::string text;
  int expected;         // the reader's result
  std::string problem;  // what the message must hold besides the path; empty: no problem
};

class WaveformContent : public ::testing::TestWithParam<ContentCase> {};

TEST_P(WaveformContent, RefusedWithFileAndLineOrReadAsBefore) {
  TempDir dir;
  const std::string path = dir.File("w.txt");
  WriteBytes(path, GetParam().text);
  Waveform wf;
  wf.readProblem = "left from an earlier file";
  EXPECT_EQ(ReadWaveform(path, wf), GetParam().expected);
  RealWaveform real;
  EXPECT_EQ(ReadWaveformReal(path, real), GetParam().expected);
  for (const std::string& problem : {wf.readProblem, real.readProblem}) {
    if (GetParam().problem.empty()) {
      EXPECT_EQ(problem, "");
    } else {
      EXPECT_NE(problem.find(path), std::string::npos) << problem;
      EXPECT_NE(problem.find(GetParam().problem), std::string::npos) << problem;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Samples, WaveformContent,
    ::testing::Values(
        ContentCase{"Finite", Waveform9({"0", "1.5", "-1e300", "4.9e-324"}), 4, ""},
        ContentCase{"Nan", Waveform9({"0", "1", "nan", "2"}), -1, "\"nan\" on line 12 "},
        ContentCase{"NegativeNan", Waveform9({"0", "-NAN(123)"}), -1, "line 11 "},
        ContentCase{"Inf", Waveform9({"0", "1", "2", "inf"}), -1, "\"inf\" on line 13 "},
        ContentCase{"Infinity", Waveform9({"0", "  -Infinity"}), -1, "line 11 "},
        ContentCase{"OverflowsWhenParsed", Waveform9({"0", "1e400"}), -1, "\"1e400\" on line 11"},
        // The sample after the time-of-test gap is stored as 0, but its line is a sample line
        // like every other.
        ContentCase{"NanOnTheForcedZeroLine", Waveform9({"nan", "1"}), -1, "\"nan\" on line 10 "},
        ContentCase{"TextOnTheForcedZeroLine", Waveform9({"x", "1"}), -1, "line 10 "},
        // A sample line holds one number and nothing but blanks around it.
        ContentCase{"BlanksAroundAndForms",
                    Waveform9({"0", " \t1.5 ", "+2", "-3e-003", "0x10", ".5", "7."}), 7, ""},
        ContentCase{"DecimalComma", Waveform9({"0", "0,0019"}), -1, "\"0,0019\" on line 11 of"},
        ContentCase{"TrailingText", Waveform9({"0", "1", "0.001x"}), -1, "\"0.001x\" on line 12"},
        ContentCase{"Letters", Waveform9({"0", "abc"}), -1, "\"abc\" on line 11"},
        ContentCase{"TwoNumbers", Waveform9({"0", "1 2"}), -1, "\"1 2\" on line 11"},
        ContentCase{"BlankLineAmongSamples", Waveform9({"0", "", "2"}), -1, "\"\" on line 11"},
        // Blank lines at the very end of a file are not samples.
        ContentCase{"BlankLinesAtTheEnd", Waveform9({"0", "1", "", " ", ""}), 2, ""},
        // Two files joined into one: the second header must not be read as samples, nor its
        // sample interval replace the first.
        ContentCase{"SecondHeader", Waveform9({"0", "1"}) + Waveform9({"0", "2"}), -1,
                    "\"SOURCE FILE NAME: -/-\" on line 12 of"},
        // Header values that are not finite.
        ContentCase{"TimeOfTestNan", "TIME OF TEST:\tnan\r\n" + Waveform9({"0"}).substr(0), -1,
                    "\"TIME OF TEST:\tnan\" on line 1 "},
        ContentCase{"TimeOfTestOverflows", "TIME OF TEST:\t1e400\r\n" + Waveform9({"0"}), -1,
                    "on line 1 "},
        ContentCase{"SampleIntervalInf", "SAMPLE INTERVAL (Seconds):   inf\r\n" + Waveform9({"0"}),
                    -1, "\"SAMPLE INTERVAL (Seconds):   inf\" on line 1 "},
        ContentCase{"NulInASample",
                    Waveform9({"0", "1",
                               std::string("2\0"
                                           "5",
                                           3)}),
                    -1, "NUL byte on line 12"},
        ContentCase{"NulInTheHeader", std::string("SOURCE\0\n", 8) + Waveform9({"1"}), -1,
                    "NUL byte on line 1:"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WaveformContent, EveryLineIsASampleLineBeyondTheStoredOnesToo) {
  TempDir dir;
  const std::string path = dir.File("long.txt");
  std::vector<std::string> samples(MAX_SAMPLES, "1");
  samples.push_back("nan");
  WriteBytes(path, Waveform9(samples));
  Waveform wf;
  EXPECT_EQ(ReadWaveform(path, wf), -1);
  EXPECT_NE(wf.readProblem.find("line 16394 "), std::string::npos) << wf.readProblem;
}

// The collection operators' reader keeps its lenient header rules but not atof's sample rule.
TEST_P(WaveformContent, TheOperatorsReaderRefusesTheSameContent) {
  if (std::string(GetParam().name).rfind("NulIn", 0) == 0) GTEST_SKIP() << "same code path";
  TempDir dir;
  const std::string path = dir.File("w.txt");
  WriteBytes(path, GetParam().text);
  std::vector<double> samples;
  double dt = 0.0, t = 0.0;
  int channel = 0;
  std::string problem;
  const int count = ReadWaveformBasic(path, samples, dt, t, channel, &problem);
  // It forces no zero: only the forced-zero cases differ, and they are refused for their text.
  EXPECT_EQ(count, GetParam().expected);
  if (GetParam().problem.empty()) {
    EXPECT_EQ(problem, "");
  } else {
    EXPECT_NE(problem.find(GetParam().problem), std::string::npos) << problem;
  }
}

TEST(WaveformContent, ADecimalCommaGetsTheImportHint) {
  TempDir dir;
  const std::string path = dir.File("w.txt");
  WriteBytes(path, Waveform9({"0", "-1,5"}));
  Waveform wf;
  EXPECT_EQ(ReadWaveform(path, wf), -1);
  EXPECT_NE(wf.readProblem.find("plexo import reads decimal commas"), std::string::npos)
      << wf.readProblem;
  WriteBytes(path, Waveform9({"0", "1;5"}));
  EXPECT_EQ(ReadWaveform(path, wf), -1);
  EXPECT_EQ(wf.readProblem.find("decimal comma"), std::string::npos) << wf.readProblem;
}

}  // namespace
}  // namespace plexo
