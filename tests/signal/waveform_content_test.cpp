// Waveform files whose content cannot be a recording: a sample that is not a finite number, or a
// NUL byte (a binary file). Both readers refuse them and say which file and line.
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
        // The sample after the time-of-test gap is stored as 0 whatever it says.
        ContentCase{"NanOnTheForcedZeroLine", Waveform9({"nan", "1"}), 2, ""},
        ContentCase{"NulInASample",
                    Waveform9({"0", "1",
                               std::string("2\0"
                                           "5",
                                           3)}),
                    -1, "NUL byte on line 12"},
        ContentCase{"NulInTheHeader", std::string("SOURCE\0\n", 8) + Waveform9({"1"}), -1,
                    "NUL byte on line 1:"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WaveformContent, ASampleBeyondTheStoredOnesIsNotLookedAt) {
  // Only stored samples reach a calculation; a longer file is refused by its count anyway.
  TempDir dir;
  const std::string path = dir.File("long.txt");
  std::vector<std::string> samples(MAX_SAMPLES, "1");
  samples.push_back("nan");
  WriteBytes(path, Waveform9(samples));
  Waveform wf;
  EXPECT_EQ(ReadWaveform(path, wf), MAX_SAMPLES + 1);
  EXPECT_EQ(wf.readProblem, "");
}

}  // namespace
}  // namespace plexo
