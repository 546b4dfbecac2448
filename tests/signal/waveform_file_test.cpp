#include "signal/waveform_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Nine header lines as acquisition software writes them, then the sample lines.
std::string WaveformText(const std::vector<std::string>& samples, const std::string& eol = "\r\n") {
  std::string text = "SOURCE FILE NAME: -/-" + eol + "DATE:\t01.02.2020" + eol + "TIME:\t10:11:12" +
                     eol + "SAMPLE INTERVAL (Seconds):   1.000000e-007" + eol + "UNITS:\tvolts" +
                     eol + "CHANNEL NUMBER:\t5" + eol + "HIT NUMBER: -/-" + eol +
                     "TIME OF TEST:\t2.500000e+000" + eol + eol;
  for (const auto& s : samples) text += s + eol;
  return text;
}

TEST(WaveformFile, ReadsHeaderAndForcesTheSampleAfterTheTimeOfTestGap) {
  TempDir dir;
  const std::string path = dir.File("w.txt");
  WriteBytes(path, WaveformText({"0.75", "1.5", "  -2.25", "4e0 "}));
  Waveform wf;
  ASSERT_EQ(ReadWaveform(path, wf), 4);
  EXPECT_EQ(wf.channel, 5);
  EXPECT_DOUBLE_EQ(wf.sampleInterval, 1e-7);
  EXPECT_DOUBLE_EQ(wf.timeOfTest, 2.5);
  EXPECT_EQ(wf.units, "\tvolts");
  EXPECT_EQ(wf.date, "\t01.02.2020");
  EXPECT_EQ(wf.time, "\t10:11:12");
  // Line 9 is two lines after the time of test on line 7: stored as 0 whatever it says.
  EXPECT_EQ(wf.samples[0].re, 0.0);
  EXPECT_EQ(wf.samples[1].re, 1.5);
  EXPECT_EQ(wf.samples[2].re, -2.25);
  EXPECT_EQ(wf.samples[3].re, 4.0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(wf.samples[i].im, 0.0);

  RealWaveform real;
  ASSERT_EQ(ReadWaveformReal(path, real), 4);
  EXPECT_EQ(real.samples[1], 1.5);
  EXPECT_EQ(real.samples[0], 0.0);
}

TEST(WaveformFile, LfOnlyAndKeysInAnotherOrder) {
  TempDir dir;
  const std::string path = dir.File("lf.txt");
  WriteBytes(path,
             "TIME OF TEST:\t1.0\nCHANNEL NUMBER:\t2\nSAMPLE INTERVAL (Seconds):   2e-7\n"
             "UNITS: mV\nTIME UNITS: us\nline5\nline6\nline7\nline8\n1.0\n2.0\n3.0\n");
  Waveform wf;
  ASSERT_EQ(ReadWaveform(path, wf), 3);
  EXPECT_EQ(wf.units, " mV");  // "TIME UNITS" does not set the units
  EXPECT_DOUBLE_EQ(wf.sampleInterval, 2e-7);
  EXPECT_EQ(wf.samples[0].re, 1.0);  // the forced zero fell on line 2, a header line
  EXPECT_EQ(wf.samples[2].re, 3.0);
}

// Keys are found anywhere in the header, and a later line with the same key wins. Units stay as
// written, blanks, tabs and case included.
TEST(WaveformFile, TheLastKeyLineWinsAndUnitsStayVerbatim) {
  TempDir dir;
  const std::string path = dir.File("twice.txt");
  WriteBytes(path,
             "TIME OF TEST:\t1.5\r\nUNITS:\tvolts\r\nSAMPLE INTERVAL (Seconds):   1e-7\r\n"
             "x\r\nTIME OF TEST:   7.25e+000\r\nUNITS:  milli Volts\t \r\nx\r\nx\r\nx\r\n"
             "1.0\r\n2.0\r\n3.0\r\n4.0\r\n");
  Waveform wf;
  ASSERT_EQ(ReadWaveform(path, wf), 4);
  EXPECT_EQ(wf.timeOfTest, 7.25);
  EXPECT_EQ(wf.units, "  milli Volts\t ");
  // The second time of test (line 4) forces line 6, a header line: no sample is forced.
  const double expected[] = {1.0, 2.0, 3.0, 4.0};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(wf.samples[i].re, expected[i]) << "sample " << i;

  RealWaveform real;
  ASSERT_EQ(ReadWaveformReal(path, real), 4);
  EXPECT_EQ(real.timeOfTest, 7.25);
  EXPECT_EQ(real.units, "  milli Volts\t ");

  // The writer puts the units text after "UNITS:\t" unchanged, so it reads back with that tab.
  ASSERT_TRUE(WriteWaveform(path, real.samples.data(), 4, real));
  EXPECT_NE(ReadBytes(path).find("\r\nUNITS:\t  milli Volts\t \r\n"), std::string::npos);
  ASSERT_EQ(ReadWaveform(path, wf), 4);
  EXPECT_EQ(wf.units, "\t  milli Volts\t ");
}

TEST(WaveformFile, CountsEveryLineBeyondTheCapacityButStoresOnlyTheFirst16384) {
  TempDir dir;
  std::vector<std::string> samples(MAX_SAMPLES + 3, "1.0");
  samples[MAX_SAMPLES - 1] = "9.0";
  samples[MAX_SAMPLES] = "5.0";
  const std::string path = dir.File("big.txt");
  WriteBytes(path, WaveformText(samples));
  Waveform wf;
  wf.samples.assign(MAX_SAMPLES, Complex{});
  EXPECT_EQ(ReadWaveform(path, wf), MAX_SAMPLES + 3);
  EXPECT_EQ(wf.samples.size(), static_cast<size_t>(MAX_SAMPLES));
  EXPECT_EQ(wf.samples[MAX_SAMPLES - 1].re, 9.0);

  samples.resize(MAX_SAMPLES);
  WriteBytes(path, WaveformText(samples));
  EXPECT_EQ(ReadWaveform(path, wf), MAX_SAMPLES);
}

struct BadInput {
  const char* name;
  std::string bytes;
  int expected;
};

class WaveformFileBadInput : public ::testing::TestWithParam<BadInput> {};

TEST_P(WaveformFileBadInput, FailsWithoutReadingPastTheBuffer) {
  TempDir dir;
  const std::string path = dir.File("bad.txt");
  WriteBytes(path, GetParam().bytes);
  Waveform wf;
  EXPECT_EQ(ReadWaveform(path, wf), GetParam().expected);
  RealWaveform real;
  EXPECT_EQ(ReadWaveformReal(path, real), GetParam().expected);
}

std::string Lines(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += "x\r\n";
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WaveformFileBadInput,
    ::testing::Values(
        BadInput{"empty", "", -9}, BadInput{"eight_lines", Lines(8), -1},
        BadInput{"nine_lines", Lines(9), 0},
        BadInput{"interval_without_unit", "SAMPLE INTERVAL:   1e-7\r\n" + Lines(12), -1},
        BadInput{"interval_nan", "SAMPLE INTERVAL (Seconds):   nan\r\n" + Lines(12), -1},
        BadInput{"interval_short_line", "SAMPLE INTERVAL\r\n" + Lines(12), -1},
        // A NUL byte: no text waveform file.
        BadInput{"binary", std::string("\0\xff\xfe\r\n\x01SAMPLE\0INTERVAL\n", 22) + Lines(10), -1},
        BadInput{"one_megabyte_lines",
                 std::string(1 << 20, '7') + "\n" + Lines(8) + "1\n2\n" +
                     std::string(1 << 20, '0') + "\n",
                 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WaveformFile, HundredMegabytesOfLongLinesAreCountedNotStoredWhole) {
  TempDir dir;
  const std::string path = dir.File("huge.txt");
  {
    std::ofstream out(path, std::ios::binary);
    // Ten-million-digit numbers; zeros, since one of nonzero digits overflows to inf and would
    // refuse the file.
    const std::string line(10 << 20, '0');
    for (int i = 0; i < 10; ++i) out << line << "\n";
  }
  Waveform wf;
  EXPECT_EQ(ReadWaveform(path, wf), 1);
  EXPECT_EQ(wf.samples[0].re, 0.0);
}

TEST(WaveformFile, MissingFilesAndFoldersReturnMinusOne) {
  TempDir dir;
  Waveform wf;
  EXPECT_EQ(ReadWaveform(dir.File("missing.txt"), wf), -1);
  EXPECT_EQ(ReadWaveform(dir.path(), wf), -1);
  std::vector<double> samples;
  double dt = 0, tot = 0;
  int channel = 0;
  EXPECT_EQ(ReadWaveformBasic(dir.File("missing.txt"), samples, dt, tot, channel), -1);
}

TEST(WaveformFile, BasicReaderIsLenientAndForcesNothing) {
  TempDir dir;
  const std::string path = dir.File("basic.txt");
  std::string text = WaveformText({"0.75", "1.5"});
  text.replace(text.find("SAMPLE INTERVAL (Seconds):"), 26, "SAMPLE INTERVAL (Sekunden):");
  WriteBytes(path, text);
  std::vector<double> samples;
  double dt = 0, tot = 0;
  int channel = 0;
  ASSERT_EQ(ReadWaveformBasic(path, samples, dt, tot, channel), 2);
  EXPECT_EQ(samples[0], 0.75);
  EXPECT_EQ(channel, 5);
  EXPECT_DOUBLE_EQ(tot, 2.5);
  Waveform wf;
  EXPECT_EQ(ReadWaveform(path, wf), -1);
}

TEST(WaveformFile, UnwritableTargetReportsFailure) {
  const double samples[] = {1.0};
  EXPECT_FALSE(WriteWaveform("/nonexistent-folder/x.txt", samples, 1, WaveformHeader{}));
}

TEST(WaveformFile, RealRecordingsAreReadWithoutCrashing) {
  const std::string folder = std::string(PLEXO_REALDATA_DIR) + "/liu-aewin-headerless";
  const std::string path = folder + "/EXP1001_1_1031_27467421.txt";
  if (!testing::Exists(path)) GTEST_SKIP() << "real recordings not present";
  // Headerless: the first nine samples are taken as header lines and no interval is found.
  Waveform wf;
  EXPECT_EQ(ReadWaveform(path, wf), 2048 - 9);
  EXPECT_EQ(wf.sampleInterval, 0.0);

  const std::string csv =
      std::string(PLEXO_REALDATA_DIR) + "/aewin594-csv-express8/1_1_100_40545628.csv";
  if (testing::Exists(csv)) {
    // Twelve header lines and "time, value" samples: the reader refuses it naming line 10
    // (a header line where the samples begin) instead of reading the times as samples.
    Waveform csv_wf;
    EXPECT_EQ(ReadWaveform(csv, csv_wf), -1);
    EXPECT_NE(csv_wf.readProblem.find("on line 10 of"), std::string::npos) << csv_wf.readProblem;
  }
}

}  // namespace
}  // namespace plexo
