// plexo tft as a user runs it: values from the setup file, flags over them, the dialog's check.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "signal/setup_file.h"
#include "signal/waveform.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::TempDir;

using testing::RunPlexo;
using Result = testing::PlexoResult;

class CliTft : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(std::string(PLEXO_EXAMPLES_DIR) + "/hit_002.txt", input);
  }
  // The line holding the times, and the first matrix line.
  std::string Line(int index) {
    const std::string text = ReadBytes(dir.File("hit_wt.txt"));
    size_t start = 0;
    for (int i = 0; i < index; ++i) start = text.find("\r\n", start) + 2;
    return text.substr(start, text.find("\r\n", start) - start);
  }
  int LineCount() {
    const std::string text = ReadBytes(dir.File("hit_wt.txt"));
    int n = 0;
    for (size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p + 2)) ++n;
    return n;
  }
  int Cells(const std::string& line) {
    int n = 0;
    for (char c : line) n += c == '\t';
    return n;
  }
  TempDir dir;
  const std::string input = dir.File("hit.txt");
};

TEST_F(CliTft, DefaultsGiveTheWaveletTransformAndNameTheOutputs) {
  // A setup file of fresh defaults, so that no Setup.ini of the machine interferes.
  ASSERT_TRUE(SaveSetup(CalcSettings{}, "", "", "", dir.File("fresh.ini")));
  const Result r = RunPlexo("tft " + input + " --setup " + dir.File("fresh.ini"));
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("Wrote " + dir.File("hit_wt.txt")), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("Wrote " + dir.File("hit_wt_preview.bmp")), std::string::npos);
  // 0 .. 4e-4 s at the file's 1e-7 s; 1e4 .. 1e6 Hz in steps of 1e4 Hz: 100 lines.
  EXPECT_EQ(LineCount(), 3 + 100);
  EXPECT_EQ(Cells(Line(3)), 4001);
  EXPECT_EQ(Line(4).find("1.000000e+004\t"), 0u);
  EXPECT_EQ(Line(4).find(','), std::string::npos);
}

TEST_F(CliTft, FlagsOverrideTheSetupFileWhichIsReadAsTheDialogShowsIt) {
  CalcSettings settings;
  settings.timeEnd = 1.234567e-4;  // the dialog shows and passes on 1.23e-004
  settings.autoResFreq = 1;
  settings.wtComplex = 1;
  ASSERT_TRUE(SaveSetup(settings, "", "", "", dir.File("chosen.ini")));

  Result r = RunPlexo("--setup " + dir.File("chosen.ini") + " tft " + input);
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(LineCount(), 3 + 100);
  EXPECT_EQ(Cells(Line(3)), 1231);
  EXPECT_NE(Line(4).find(','), std::string::npos);

  r = RunPlexo("tft " + input + " --setup " + dir.File("chosen.ini") +
               " --complex=0 --auto-freq-res=0 --freq-res 2e5 --auto-time-res=0 --time-res 2e-7"
               " --time-start 1e-5 --jobs 1");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(LineCount(), 3 + 5);  // trunc(9.9e5/2e5) + 1
  EXPECT_EQ(Line(2), "Timeresolution:\t2.000000e-007");
  EXPECT_EQ(Cells(Line(3)), 566);  // trunc(1.23e-4/2e-7) - trunc(1e-5/2e-7) + 1
  EXPECT_EQ(Line(3).find("Frequency[Hz]/Time[s]\t1.020000e-005\t"), 0u);
  EXPECT_EQ(Line(4).find(','), std::string::npos);
}

TEST_F(CliTft, InconsistentGridsAreRefusedBeforeAnythingIsRead) {
  for (const std::string flags :
       {"--time-start 2e-4 --time-end 1e-4", "--time-start -1e-5", "--freq-res 0 --auto-freq-res",
        "--time-res 0 --auto-time-res", "--freq-start 2e6"}) {
    const Result r = RunPlexo("tft " + input + " " + flags);
    EXPECT_EQ(r.status, 1) << flags;
    EXPECT_NE(r.output.find("Non-valid input parameters! Please check consistence!"),
              std::string::npos)
        << flags << ": " << r.output;
  }
  EXPECT_FALSE(Exists(dir.File("hit_wt.txt")));
  EXPECT_FALSE(Exists(dir.File("hit_wt_preview.bmp")));
}

// A file over the buffer is computed on its first 16384 samples, and the user is told so.
TEST_F(CliTft, LongFilesAreComputedOnTheStoredSamplesWithANote) {
  std::string text = "SAMPLE INTERVAL (Seconds):   1.000000e-007\r\n";
  for (int i = 1; i < 9 + MAX_SAMPLES + 116; ++i) text += i % 3 == 0 ? "0.5\r\n" : "-0.25\r\n";
  const std::string path = dir.File("long.txt");
  testing::WriteBytes(path, text);
  ASSERT_TRUE(SaveSetup(CalcSettings{}, "", "", "", dir.File("fresh.ini")));
  for (const char* method : {"cwt", "spwvd"}) {
    const Result r = RunPlexo("tft " + path + " --setup " + dir.File("fresh.ini") +
                              " --time-end 1e-4 --method " + method);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Only the first 16384 of the 16500 samples of " + path + " were used."),
              std::string::npos)
        << method << ": " << r.output;
  }
  EXPECT_TRUE(Exists(dir.File("long_wt.txt")));
  EXPECT_TRUE(Exists(dir.File("long_spvwd.txt")));
  // A file within the buffer gets no note.
  const Result r =
      RunPlexo("tft " + input + " --setup " + dir.File("fresh.ini") + " --time-end 1e-4");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.output.find("Only the first"), std::string::npos) << r.output;
}

TEST_F(CliTft, CalculationMessagesPassThrough) {
  const Result r = RunPlexo("tft " + input + " --time-end 3e-3");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("Time window of 30000 samples exceeds program limit of 16383!"),
            std::string::npos)
      << r.output;
  EXPECT_NE(RunPlexo("tft " + input + " --method fft").status, 0);
  EXPECT_NE(RunPlexo("tft " + input + " --jobs -2").status, 0);
}

}  // namespace
}  // namespace plexo
