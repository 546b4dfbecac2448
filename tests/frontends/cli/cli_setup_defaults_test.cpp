// Options a command line leaves out come from the setup file.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "signal/calc_settings.h"
#include "signal/setup_file.h"
#include "signal/waveform_file.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::RunPlexo;
using testing::TempDir;

TEST(CliSetupDefaults, FolderCommandsTakeWindowPrecisionTransferAndOutputFromTheSetupFile) {
  TempDir dir;
  const std::string folder = dir.File("waves");
  std::filesystem::create_directory(folder);
  WaveformHeader header;
  header.sampleInterval = 1e-7;
  std::vector<double> samples(4000, 0.0);
  for (int i = 0; i < 4000; ++i) samples[i] = (i % 7) * 0.1;
  ASSERT_TRUE(WriteWaveform(folder + "/a.txt", samples.data(), 4000, header));

  std::string transfer = "flat\n";
  for (int i = 0; i < 256; ++i) transfer += "1\t0\n";
  testing::WriteBytes(dir.File("flat.tf"), transfer);

  CalcSettings settings = DefaultCalcSettings();
  settings.fftPrecision = 8;
  settings.fftWindow = 1;
  settings.fftOutputType = 1;
  ASSERT_TRUE(SaveSetup(settings, "", "", dir.File("flat.tf"), dir.File("setup.ini")));
  const std::string setup = " --setup " + dir.File("setup.ini");

  auto r = RunPlexo("convolve " + folder + setup);
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(Exists(folder + "/procData/DuvidiWaveforms.txt"));  // columns output

  // The setup file chooses the "200us" gate (only 240..340 us kept)...
  r = RunPlexo("avg-fft " + folder + setup);
  EXPECT_EQ(r.status, 0) << r.output;
  const std::string gated = testing::ReadBytes(folder + "/avgFFTData/average_FFT.txt");
  // ...and a flag given on the command line wins over the setup file.
  r = RunPlexo("avg-fft " + folder + " --window none" + setup);
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(testing::ReadBytes(folder + "/avgFFTData/average_FFT.txt"), gated);

  r = RunPlexo("convolve " + folder + " --setup " + dir.File("missing.ini"));
  EXPECT_NE(r.status, 0);
}

}  // namespace
}  // namespace plexo
