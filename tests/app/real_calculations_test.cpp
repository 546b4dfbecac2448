// The desktop's calculations reach the real code for every mode.
#include "app/real_calculations.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/recording_host.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::TempDir;

TEST(RealCalculations, EveryModeWritesItsResults) {
  TempDir dir;
  for (const char* name : {"hit_001.txt", "hit_003.txt"})
    std::filesystem::copy_file(std::string(PLEXO_EXAMPLES_DIR) + "/" + name, dir.File(name));
  std::filesystem::create_directory(dir.File("single"));
  std::filesystem::copy_file(dir.File("hit_003.txt"), dir.File("single/hit.txt"));

  RealCalculations calculations;
  RecordingHost host;
  NullProgress progress;
  TftRequest grid;
  grid.path = dir.File("single/hit.txt");
  grid.timeEnd = 4e-4;
  grid.timeRes = 1e-7;
  grid.freqStart = 1e4;
  grid.freqEnd = 1e6;
  grid.freqRes = 2e4;
  grid.waveletLength = 101;
  grid.autoTimeRes = true;
  grid.subsampling = 2;
  grid.windowParameter = 4;

  EXPECT_EQ(calculations.SingleFft(grid.path, 0, MAX_SAMPLES, progress, host), CalcStatus::kDone);
  EXPECT_EQ(calculations.SingleTft(grid, TftMethod::kCwt, progress, host), CalcStatus::kDone);
  EXPECT_EQ(calculations.SingleTft(grid, TftMethod::kSpwvd, progress, host), CalcStatus::kDone);
  EXPECT_TRUE(Exists(dir.File("single/hit_fft.txt")));
  EXPECT_TRUE(Exists(dir.File("single/hit_wt.txt")));
  EXPECT_TRUE(Exists(dir.File("single/hit_spvwd.txt")));

  EXPECT_EQ(calculations.AverageFft(dir.path(), 1, MAX_SAMPLES, progress, host), CalcStatus::kDone);
  EXPECT_TRUE(Exists(dir.File("avgFFTData/average_FFT.txt")));

  AverageTftRequest average;
  average.grid = grid;
  average.grid.path = dir.path();
  average.threshold = 0.1;
  average.autoThreshold = true;
  EXPECT_EQ(calculations.AverageTft(average, TftMethod::kSpwvd, progress, host), CalcStatus::kDone);
  EXPECT_TRUE(Exists(dir.File("avgWTData/average_signal_spvwd.txt")));

  std::string transfer = "flat\n";
  for (int i = 0; i < 4096; ++i) transfer += "1\t0\n";
  testing::WriteBytes(dir.File("flat.tf"), transfer);
  EXPECT_EQ(calculations.ApplyTransferFunction(
                dir.path(), 12, dir.File("flat.tf"), TransferOperation::kConvolution,
                ConvolutionOutput::kWaveformFiles, MAX_SAMPLES, progress, host),
            CalcStatus::kDone);
  EXPECT_TRUE(Exists(dir.File("procData/hit_001.txt")));
  EXPECT_TRUE(host.messages.empty()) << host.messages.front();
}

}  // namespace
}  // namespace plexo
