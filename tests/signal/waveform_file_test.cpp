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
  WriteBytes(path, WaveformText({"0.75", "1.5", "  -2.25", "abc", ""}));
  Waveform wf;
  ASSERT_EQ(ReadWaveform(path, wf), 5);
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
  EXPECT_EQ(wf.samples[3].re, 0.0);  // no number
  EXPECT_EQ(wf.samples[4].re, 0.0);  // blank line is a sample too
  for (int i = 0; i < 5; ++i) EXPECT_EQ(wf.samples[i].im, 0.0);

  RealWaveform real;
  ASSERT_EQ(ReadWaveformReal(path, real), 5);
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

// Keys are found anywhere in the file, and a later line with the same key wins: its value, and
// for "TIME OF TEST" also the sample forced to zero two lines below it. Units stay as written,
// blanks, tabs and case included.
TEST(WaveformFile, TheLastKeyLineWinsAndUnitsStayVerbatim) {
  TempDir dir;
  const std::string path = dir.File("twice.txt");
  WriteBytes(path,
             "TIME OF TEST:\t1.5\r\nUNITS:\tvolts\r\nSAMPLE INTERVAL (Seconds):   1e-7\r\n"
             "x\r\nx\r\nx\r\nx\r\nx\r\nx\r\n"
             "1.0\r\n2.0\r\nTIME OF TEST:   7.25e+000\r\n4.0\r\n5.0\r\n"
             "UNITS:  milli Volts\t \r\n7.0\r\n");
  Waveform wf;
  ASSERT_EQ(ReadWaveform(path, wf), 7);
  EXPECT_EQ(wf.timeOfTest, 7.25);
  EXPECT_EQ(wf.units, "  milli Volts\t ");
  // The first time of test (line 0) forced nothing among the samples; the second (line 11)
  // forces sample 13 - 9 = 4, whatever the line says.
  const double expected[] = {1.0, 2.0, 0.0, 4.0, 0.0, 0.0, 7.0};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(wf.samples[i].re, expected[i]) << "sample " << i;

  RealWaveform real;
  ASSERT_EQ(ReadWaveformReal(path, real), 7);
  EXPECT_EQ(real.timeOfTest, 7.25);
  EXPECT_EQ(real.units, "  milli Volts\t ");
  EXPECT_EQ(real.samples[4], 0.0);
  EXPECT_EQ(real.samples[3], 4.0);

  // The writer puts the units text after "UNITS:\t" unchanged, so it reads back with that tab.
  ASSERT_TRUE(WriteWaveform(path, real.samples.data(), 7, real));
  EXPECT_NE(ReadBytes(path).find("\r\nUNITS:\t  milli Volts\t \r\n"), std::string::npos);
  ASSERT_EQ(ReadWaveform(path, wf), 7);
  EXPECT_EQ(wf.units, "\t  milli Volts\t ");
}

TEST(WaveformFile, WriterRoundTripKeepsHeaderAndTabs) {
  TempDir dir;
  WaveformHeader header;
  header.channel = 7;
  header.timeOfTest = 12.3456789;
  header.sampleInterval = 1e-7;
  header.units = "volts";
  header.date = "\t01.02.2020";
  header.time = "\t10:11:12";
  const double samples[] = {0.1, -0.0000004, 0.0000004, 2.5};
  const std::string path = dir.File("out.txt");
  ASSERT_TRUE(WriteWaveform(path, samples, 4, header));
  EXPECT_EQ(ReadBytes(path),
            "SOURCE FILE NAME: -/-\r\nDATE:\t\t01.02.2020\r\nTIME:\t\t10:11:12\r\n"
            "SAMPLE INTERVAL (Seconds):   1.000000e-007\r\nUNITS:\tvolts\r\n"
            "CHANNEL NUMBER:\t7\r\nHIT NUMBER: -/-\r\nTIME OF TEST:\t1.234568e+001\r\n\r\n"
            "0.100000\r\n-0.000000\r\n0.000000\r\n2.500000\r\n");

  Waveform wf;
  ASSERT_EQ(ReadWaveform(path, wf), 4);
  EXPECT_EQ(wf.channel, 7);
  EXPECT_DOUBLE_EQ(wf.timeOfTest, 12.34568);
  EXPECT_DOUBLE_EQ(wf.sampleInterval, 1e-7);
  EXPECT_EQ(wf.samples[0].re, 0.0);  // the writer's layout always reads sample 0 as 0
  EXPECT_EQ(wf.samples[3].re, 2.5);

  ASSERT_TRUE(WriteWaveformSci(path, samples, 2, header));
  EXPECT_NE(ReadBytes(path).find("\r\n\r\n1.000000e-001\r\n-4.000000e-007\r\n"), std::string::npos);
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
                 std::string(1 << 20, '7') + "\n" + Lines(10) + std::string(1 << 20, '0') + "\n",
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
    Waveform csv_wf;
    EXPECT_GT(ReadWaveform(csv, csv_wf), 0);
    EXPECT_DOUBLE_EQ(csv_wf.sampleInterval, 1e-6);
  }
}

}  // namespace
}  // namespace plexo
