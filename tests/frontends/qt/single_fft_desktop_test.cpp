// A Single FFT through the desktop's dialog with the real calculation: picked file, worker
// thread, preview handed to the host, FFT file written, dialog left open for the next file.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <cmath>
#include <vector>

#include "app/real_calculations.h"
#include "frontends/qt/options_dialog.h"
#include "platform/file_system.h"
#include "platform/recording_host.h"
#include "qt_test_environment.h"
#include "signal/waveform_file.h"
#include "support/temp_dir.h"

namespace plexo::qt {
namespace {

TEST(SingleFftDesktopTest, RunsOnTheWorkerAndLeavesTheDialogOpen) {
  plexo::testing::TempDir folder;
  const std::string input = folder.File("hit.txt");
  std::vector<double> samples(1000);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = std::sin(0.2 * static_cast<double>(i));
  WaveformHeader header;
  header.sampleInterval = 1e-7;
  ASSERT_TRUE(WriteWaveform(input, samples.data(), static_cast<int>(samples.size()), header));

  RecordingHost host;
  host.file_answers.push_back(input);
  RealCalculations calculations;
  OptionsDialog dialog(nullptr, CalcMode::kSingleFft, calculations, folder.File("Setup.ini"),
                       &host);
  DialogView& view = dialog.View();
  view.show();
  qobject_cast<QAbstractButton*>(view.Widget(kIdcLoadFftPath))->click();
  EXPECT_EQ(view.Text(kIdcFftPath), input);
  qobject_cast<QAbstractButton*>(view.Widget(kIdcCalculate))->click();
  ASSERT_TRUE(testing::WaitUntil([&] { return !dialog.Logic().Running(); }));

  EXPECT_TRUE(host.messages.empty());
  ASSERT_EQ(host.images.size(), 1u);
  EXPECT_EQ(host.images[0].title, "FFT-File");
  EXPECT_TRUE(IsRegularFile(folder.File("hit_fft.txt")));
  EXPECT_TRUE(IsRegularFile(folder.File("hit_fft_preview.bmp")));
  EXPECT_EQ(host.written.size(), 2u);  // what the status bar reports
  EXPECT_TRUE(view.isVisible());
  EXPECT_TRUE(view.Widget(kIdcCalculate)->isEnabled());
}

}  // namespace
}  // namespace plexo::qt
