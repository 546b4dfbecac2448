// `plexo fft FILE --show` as a person runs it on an X display: the preview window opens, a key
// typed at it lets the command finish and write its files.
#include <gtest/gtest.h>

#include <QProcess>
#include <cmath>
#include <vector>

#include "qt_test_environment.h"
#include "signal/waveform_file.h"
#include "support/temp_dir.h"
#include "window_system_input.h"

namespace plexo::qt {
namespace {

TEST(CommandLineShowTest, AKeyAtThePreviewLetsTheCommandFinish) {
  testing::WindowSystemInput input;
  if (input.PlatformName() != "xcb" || !input.Available()) {
    GTEST_SKIP() << "needs an X display (run under Xvfb)";
  }
  plexo::testing::TempDir folder;
  const std::string path = folder.File("hit.txt");
  std::vector<double> samples(1000);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = std::sin(0.3 * static_cast<double>(i));
  WaveformHeader header;
  header.sampleInterval = 1e-7;
  ASSERT_TRUE(WriteWaveform(path, samples.data(), static_cast<int>(samples.size()), header));

  QProcess plexo;
  plexo.start(PLEXO_BINARY, {"fft", QString::fromStdString(path), "--show"});
  ASSERT_TRUE(plexo.waitForStarted());
  // The first window program started on a fresh display can take long in the sanitizer build
  // (seen once over 60 s under a loaded machine); a window that never comes still fails.
  if (!testing::WaitUntil([&] { return input.X11WindowTitled("FFT-File"); }, 180000)) {
    plexo.kill();
    plexo.waitForFinished(5000);
    FAIL() << "no preview window; plexo said: " << plexo.readAllStandardError().toStdString()
           << plexo.readAllStandardOutput().toStdString();
  }
  // The window waits: the command has not finished without a key.
  EXPECT_FALSE(plexo.waitForFinished(500));
  input.PressKey(Qt::Key_Space);
  ASSERT_TRUE(plexo.waitForFinished(30000)) << "the key did not end the wait";
  EXPECT_EQ(plexo.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(plexo.exitCode(), 0) << plexo.readAllStandardError().toStdString();
  EXPECT_TRUE(plexo::testing::Exists(folder.File("hit_fft.txt")));
  EXPECT_TRUE(plexo::testing::Exists(folder.File("hit_fft_preview.bmp")));
}

}  // namespace
}  // namespace plexo::qt
