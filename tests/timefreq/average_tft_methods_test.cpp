#include "timefreq/average_tft_methods.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/recording_host.h"
#include "signal/waveform_file.h"
#include "support/temp_dir.h"
#include "timefreq/cwt.h"
#include "timefreq/spwvd.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::TempDir;

// Two small bursts at 10 MHz sampling, and a grid that keeps both transforms quick.
void WriteFolder(const TempDir& dir) {
  for (int file = 0; file < 2; ++file) {
    std::vector<double> x(1024);
    for (int k = 0; k < 1024; ++k) x[k] = std::sin(0.2 * k + file) * std::exp(-k / 200.0);
    WaveformHeader header;
    header.channel = 5;
    header.sampleInterval = 1e-7;
    header.units = "V";
    ASSERT_TRUE(
        WriteWaveform(dir.File("hit" + std::to_string(file) + ".txt"), x.data(), 1024, header));
  }
}

TftRequest SmallGrid() {
  TftRequest grid;
  grid.path = "not used";
  grid.freqRes = 1e5;
  grid.freqStart = 0.0;
  grid.freqEnd = 1e6;
  grid.timeRes = 3e-7;  // replaced by the files' interval
  grid.timeStart = 0.0;
  grid.timeEnd = 1e-4;
  grid.output = TftOutput::kModulus;
  grid.waveletLength = 101;
  grid.subsampling = 2;
  grid.windowParameter = 4;
  return grid;
}

// The first three lines of a TFT file: channel, time of record and the interval used.
std::string TftHeader(const std::string& path) {
  const std::string text = ReadBytes(path);
  size_t end = 0;
  for (int line = 0; line < 3 && end != std::string::npos; ++line) end = text.find('\n', end + 1);
  return text.substr(0, end == std::string::npos ? text.size() : end + 1);
}

TEST(AverageTftMethods, EachTransformRunsOnTheAverageWaveformBesideIt) {
  TempDir dir;
  WriteFolder(dir);
  NullProgress progress;

  RecordingHost cwt_host;
  auto average = std::make_unique<AverageTftWorkspace>();
  auto cwt = std::make_unique<CwtWorkspace>();
  ASSERT_EQ(CalcAverageCwt(*average, *cwt, dir.path(), SmallGrid(), 0.5, 0, progress, cwt_host),
            CalcStatus::kDone);
  EXPECT_TRUE(cwt_host.messages.empty());
  ASSERT_EQ(cwt_host.images.size(), 1u);
  EXPECT_EQ(cwt_host.images[0].title, "WT-File");
  EXPECT_TRUE(Exists(dir.File("avgWTData/average_signal_wt_preview.bmp")));
  EXPECT_EQ(TftHeader(dir.File("avgWTData/average_signal_wt.txt")),
            "Channel:\t5\r\nTime of Record:\t0.000000e+000\r\nTimeresolution:\t1.000000e-007\r\n");

  RecordingHost spwvd_host;
  auto spwvd = std::make_unique<SpwvdWorkspace>();
  ASSERT_EQ(
      CalcAverageSpwvd(*average, *spwvd, dir.path(), SmallGrid(), 0.5, 1, progress, spwvd_host),
      CalcStatus::kDone);
  EXPECT_TRUE(spwvd_host.messages.empty());
  ASSERT_EQ(spwvd_host.images.size(), 1u);
  EXPECT_EQ(spwvd_host.images[0].title, "SPVWD-File");
  EXPECT_TRUE(Exists(dir.File("avgWTData/average_signal_spvwd_preview.bmp")));
  // The decimated interval: twice the files' 1e-7 s.
  EXPECT_EQ(TftHeader(dir.File("avgWTData/average_signal_spvwd.txt")),
            "Channel:\t5\r\nTime of Record:\t0.000000e+000\r\nTimeresolution:\t2.000000e-007\r\n");
}

}  // namespace
}  // namespace plexo
