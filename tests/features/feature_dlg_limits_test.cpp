// The Feature Extraction dialog's sample limit and wavelet method: taken from the setup file,
// checked before a run, given to the run (the table equals the command line's with the same
// options) and stored back only when they changed.
#include <gtest/gtest.h>

#include "feature_test_data.h"
#include "features/feature_dlg.h"
#include "platform/memory_controls.h"
#include "platform/recording_host.h"
#include "signal/setup_file.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::TempDir;

struct DialogRun {
  explicit DialogRun(const std::string& setupPath)
      : dialog(controls, host, runner, workspace, 2, setupPath) {
    dialog.OnInitDialog();
  }
  MemoryControls controls{FeatureDialogTemplate()};
  RecordingHost host;
  InlineRunner runner;
  FeatureWorkspace workspace;
  CFeatureDlg dialog;
};

TEST(FeatureDlgLimits, ARaisedLimitRunsTheLongRecordAsTheCommandLineDoes) {
  TempDir dir;
  testing::WriteWaveformFile(dir / "long.txt",
                             testing::BurstSamples(20000, 9000, 2e5, 4e5, 1e-7, 5), 1e-7, 3.0);
  testing::WriteWaveformFile(dir / "short.txt",
                             testing::BurstSamples(3000, 2100, 3e5, 4e5, 1e-7, 6), 1e-7, 4.0);
  DialogRun run(dir / "Setup.ini");
  EXPECT_EQ(run.controls.Text(kIdfMaxSamples), "16384");
  run.controls.SetText(kIdfMaxSamples, "32768");
  run.host.folder_answers.push_back(dir.path());
  run.dialog.OnClicked(kIdfExtract);
  ASSERT_TRUE(run.host.messages.empty()) << run.host.messages[0];
  const std::string table = testing::ReadBytes(FeatureResultsPath(dir.path()));

  ASSERT_EQ(testing::RunPlexo("features " + dir.path() + " --max-samples 32768").status, 0);
  EXPECT_EQ(table, testing::ReadBytes(FeatureResultsPath(dir.path())));
  // The limit is kept for the next opening, in the setup file both dialogs share.
  CalcSettings stored;
  std::string fft, wt, hw;
  ASSERT_TRUE(LoadSetup(stored, fft, wt, hw, dir / "Setup.ini"));
  EXPECT_EQ(stored.maxSamples, 32768);
  DialogRun again(dir / "Setup.ini");
  EXPECT_EQ(again.controls.Text(kIdfMaxSamples), "32768");
}

TEST(FeatureDlgLimits, ALimitThatIsNoneIsRefusedAndNothingRuns) {
  TempDir dir;
  testing::WriteWaveformFile(dir / "a.txt", testing::BurstSamples(3000, 2100, 2e5, 4e5, 1e-7, 2),
                             1e-7, 1.0);
  for (const char* text : {"1000", "2000000", "lots"}) {
    DialogRun run(dir / "Setup.ini");
    run.controls.SetText(kIdfMaxSamples, text);
    run.host.folder_answers.push_back(dir.path());
    run.dialog.OnClicked(kIdfExtract);
    EXPECT_EQ(run.host.messages, std::vector<std::string>{kMaxSamplesMessage}) << text;
    EXPECT_EQ(run.host.folder_requests, 0) << text;
    EXPECT_FALSE(run.controls.endResult.has_value());
    // Cancel keeps what the setup file held: a text that is no limit is not stored.
    run.dialog.OnCancel();
  }
  EXPECT_FALSE(testing::Exists(FeatureResultsPath(dir.path())));
  EXPECT_FALSE(testing::Exists(dir / "Setup.ini"));  // nothing changed, nothing written
}

TEST(FeatureDlgLimits, TheWaveletMethodComesFromTheSetupAndReachesTheRun) {
  TempDir dir;
  testing::WriteWaveformFile(dir / "a.txt", testing::BurstSamples(3000, 2100, 2e5, 4e5, 1e-7, 2),
                             1e-7, 1.0);
  testing::WriteWaveformFile(dir / "b.txt", testing::BurstSamples(3000, 1900, 3e5, 5e5, 1e-7, 3),
                             1e-7, 2.0);
  CalcSettings settings;
  settings.wtMethod = 1;
  settings.timeEnd = 3e-4;  // another key of the Options dialog, which must survive
  ASSERT_TRUE(SaveSetup(settings, "/in/fft", "/in/wt", "/in/hw", dir / "Setup.ini"));
  DialogRun run(dir / "Setup.ini");
  EXPECT_EQ(run.controls.ComboIndex(kIdfWaveletMethodCombo), 1);
  EXPECT_FALSE(run.controls.IsEnabled(kIdfWaveletMethodCombo));  // greyed without wavelet boxes
  run.controls.SetChecked(kIdfModulusMaximum, true);
  run.dialog.OnClicked(kIdfModulusMaximum);
  EXPECT_TRUE(run.controls.IsEnabled(kIdfWaveletMethodCombo));
  run.host.folder_answers.push_back(dir.path());
  run.dialog.OnClicked(kIdfExtract);
  ASSERT_TRUE(run.host.messages.empty()) << run.host.messages[0];
  const std::string table = testing::ReadBytes(FeatureResultsPath(dir.path()));

  const std::string columns =
      " --columns amplitude,energy,peak-frequency-1,peak-frequency-2,peak-frequency-3,"
      "weighted-peak-frequency-1,weighted-peak-frequency-2,weighted-peak-frequency-3,centroid,"
      "partial-power-1,partial-power-2,partial-power-3,partial-power-4,partial-power-5,"
      "partial-power-6,mm";
  const testing::PlexoResult fft =
      testing::RunPlexo("features " + dir.path() + columns + " --wavelet-method fft");
  ASSERT_EQ(fft.status, 0) << fft.output;
  EXPECT_EQ(table, testing::ReadBytes(FeatureResultsPath(dir.path())));

  // Choosing the direct sum in the dialog stores it; the other keys keep their values.
  DialogRun direct(dir / "Setup.ini");
  direct.controls.SetComboIndex(kIdfWaveletMethodCombo, 0);
  direct.dialog.OnCancel();
  CalcSettings stored;
  std::string fftPath, wt, hw;
  ASSERT_TRUE(LoadSetup(stored, fftPath, wt, hw, dir / "Setup.ini"));
  EXPECT_EQ(stored.wtMethod, 0);
  EXPECT_EQ(stored.timeEnd, 3e-4);
  EXPECT_EQ(fftPath, "/in/fft");
}

}  // namespace
}  // namespace plexo
