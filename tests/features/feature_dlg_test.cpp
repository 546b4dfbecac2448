// The Feature Extraction dialog's logic on in-memory controls: initial state, the check-box
// rules with their refreshes, the band check and what "Extract!" and Cancel do.
#include "features/feature_dlg.h"

#include <gtest/gtest.h>

#include "feature_test_data.h"
#include "platform/memory_controls.h"
#include "platform/recording_host.h"
#include "signal/number_text.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::TempDir;

// Field `column` of the first data line of a table.
double TableField(const std::string& table, int column) {
  size_t at = table.find("\r\n", table.find("\r\n") + 2) + 2;
  for (int c = 0; c < column; ++c) at = table.find('\t', at) + 1;
  return ParseDouble(table.substr(at));
}

class FeatureDlgTest : public ::testing::Test {
 protected:
  FeatureDlgTest() { dialog.OnInitDialog(); }

  void Toggle(ControlId id) {
    controls.SetChecked(id, !controls.IsChecked(id));
    dialog.OnClicked(id);
  }

  MemoryControls controls{FeatureDialogTemplate()};
  RecordingHost host;
  InlineRunner runner;
  FeatureWorkspace workspace;
  CFeatureDlg dialog{controls, host, runner, workspace, 2};
};

TEST_F(FeatureDlgTest, OpensWithTheDefaults) {
  EXPECT_EQ(FeatureDialogTemplate().title, "Feature Extraction");
  EXPECT_EQ(dialog.CheckedColumns(), DefaultFeatureColumns());
  EXPECT_EQ(controls.Text(kIdfPpBegin[1]), "150e3");
  EXPECT_EQ(controls.Text(kIdfPpEnd[5]), "1200e3");
  EXPECT_EQ(controls.Text(kIdfWtEnd[3]), "1000e3");
  EXPECT_EQ(controls.Text(kIdfTimeStart), "200e-6");
  EXPECT_EQ(controls.Text(kIdfWaveletLength), "1001");
  EXPECT_EQ(controls.Text(kIdfImpedance), "50");
  EXPECT_EQ(controls.ComboIndex(kIdfWaveletTypeCombo), 1);
  EXPECT_TRUE(controls.IsEnabled(kIdfPpBegin[5]));
  EXPECT_FALSE(controls.IsEnabled(kIdfPpBegin[6]));
  for (ControlId id : kWtSettingsGroup) EXPECT_FALSE(controls.IsEnabled(id)) << id;
  EXPECT_FALSE(controls.IsEnabled(kIdfDuration));
  EXPECT_TRUE(controls.IsEnabled(kIdfTimeStart));
  EXPECT_EQ(controls.StateOf(kIdfProgress).progressHigh, 100);
}

TEST_F(FeatureDlgTest, PartialPowerUncheckZeroesItsBandAndARefreshBringsBackStoredTexts) {
  controls.SetText(kIdfTimeEnd, "999e-6");  // typed, not yet read
  Toggle(kIdfPartialPower[2]);
  EXPECT_EQ(controls.Text(kIdfPpBegin[2]), "0");
  EXPECT_EQ(controls.Text(kIdfPpEnd[2]), "0");
  EXPECT_FALSE(controls.IsEnabled(kIdfPpBegin[2]));
  EXPECT_EQ(controls.Text(kIdfTimeEnd), "400e-6");  // the refresh replaced the typed text
  Toggle(kIdfPartialPower[2]);
  EXPECT_TRUE(controls.IsEnabled(kIdfPpEnd[2]));
  EXPECT_EQ(controls.Text(kIdfPpEnd[2]), "0");
  // "Use AIC" and "Arrival Time" refresh too; the wavelet boxes do not.
  controls.SetText(kIdfImpedance, "75.5");
  Toggle(kIdfModulusMaximum);
  EXPECT_EQ(controls.Text(kIdfImpedance), "75.5");
  Toggle(kIdfUseAic);
  EXPECT_EQ(controls.Text(kIdfImpedance), "50");
}

TEST_F(FeatureDlgTest, WaveletBoxesShareTheSettingsGroup) {
  Toggle(kIdfModulusMaximum);
  Toggle(kIdfWtPeak[0]);
  EXPECT_TRUE(controls.IsEnabled(kIdfWtBegin[0]));
  EXPECT_TRUE(controls.IsEnabled(kIdfWtBandLabel));
  Toggle(kIdfWtPeak[0]);
  for (ControlId id : kWtSettingsGroup) EXPECT_TRUE(controls.IsEnabled(id)) << id;
  EXPECT_FALSE(controls.IsEnabled(kIdfWtBegin[0]));
  EXPECT_FALSE(controls.IsEnabled(kIdfWtEnd[0]));
  EXPECT_EQ(controls.Text(kIdfWtEnd[0]), "150e3");  // kept, unlike a partial power band
  Toggle(kIdfModulusMaximum);
  for (ControlId id : kWtSettingsGroup) EXPECT_FALSE(controls.IsEnabled(id)) << id;
}

TEST_F(FeatureDlgTest, ArrivalTimeBringsTheOnsetPickerAlong) {
  Toggle(kIdfArrivalTime);
  EXPECT_TRUE(controls.IsChecked(kIdfUseAic));
  EXPECT_TRUE(controls.IsEnabled(kIdfDuration));
  EXPECT_TRUE(controls.IsEnabled(kIdfDurationLabel));
  EXPECT_FALSE(controls.IsEnabled(kIdfTimeStart));
  EXPECT_FALSE(controls.IsEnabled(kIdfTimeEnd));
  EXPECT_TRUE(controls.IsEnabled(kIdfTimeStartLabel));
  Toggle(kIdfArrivalTime);
  EXPECT_FALSE(controls.IsChecked(kIdfUseAic));
  EXPECT_TRUE(controls.IsEnabled(kIdfTimeStart));
  EXPECT_FALSE(controls.IsEnabled(kIdfDuration));
}

TEST_F(FeatureDlgTest, InvertedWaveletBandTwoWarnsAndRunsBandFourEnds) {
  TempDir dir;
  testing::WriteWaveformFile(dir / "a.txt", testing::BurstSamples(3000, 2200, 2e5, 4e5, 1e-7, 1),
                             1e-7, 2.0);
  controls.SetText(kIdfWtBegin[1], "200e3");
  controls.SetText(kIdfWtEnd[1], "100e3");
  controls.SetText(kIdfImpedance, "75.5");
  host.folder_answers.push_back(dir.path());
  dialog.OnClicked(kIdfExtract);
  EXPECT_EQ(host.messages, std::vector<std::string>{kInvertedBandMessage});
  EXPECT_EQ(host.folder_requests, 1);
  EXPECT_EQ(controls.endResult, kIdOk);
  EXPECT_TRUE(testing::Exists(FeatureResultsPath(dir.path())));
  EXPECT_EQ(controls.StateOf(kIdfProgress).progressHigh, 1);
  EXPECT_EQ(controls.StateOf(kIdfProgress).progressPos, 1);

  // 75.5 ohms count as 75: the energy is the 50-ohm energy times 50/75.
  const double e75 = TableField(testing::ReadBytes(FeatureResultsPath(dir.path())), 1);
  FeatureRequest request;
  request.folder = dir.path();
  NullProgress progress;
  ASSERT_EQ(ExtractFeatures(workspace, request, progress, host), CalcStatus::kDone);
  const double e50 = TableField(testing::ReadBytes(FeatureResultsPath(dir.path())), 1);
  EXPECT_NEAR(e75, e50 * 50 / 75, e50 * 1e-6);

  MemoryControls again(FeatureDialogTemplate());
  RecordingHost host2;
  CFeatureDlg second(again, host2, runner, workspace);
  second.OnInitDialog();
  again.SetText(kIdfWtBegin[3], "2e6");
  again.SetText(kIdfWtEnd[3], "1e6");
  second.OnClicked(kIdfExtract);
  EXPECT_EQ(host2.messages, std::vector<std::string>{kInvertedBandMessage});
  EXPECT_EQ(host2.folder_requests, 0);
  EXPECT_EQ(again.endResult, kIdOk);
}

TEST_F(FeatureDlgTest, CancelledPickerEndsWithTheCancelResultAndCancelSetsTheStopFlag) {
  host.folder_answers.push_back(std::nullopt);
  dialog.OnClicked(kIdfExtract);
  EXPECT_EQ(host.messages, std::vector<std::string>{kFeatureNoFilesMessage});
  EXPECT_EQ(controls.endResult, kIdCancel);
  EXPECT_FALSE(dialog.StopRequested());
  controls.SetText(kIdfDuration, "55e-6");
  EXPECT_TRUE(dialog.OnCancel());
  EXPECT_TRUE(dialog.StopRequested());
  EXPECT_EQ(dialog.Params().duration, "55e-6");
  EXPECT_EQ(controls.endResult, kIdOk);
}

// A runner that holds the job until the test lets it go, as the desktop's worker thread does.
class HeldRunner : public CalcRunner {
 public:
  void Start(Job job, Done done) override {
    ++starts;
    job_ = std::move(job);
    done_ = std::move(done);
  }
  void Finish() { done_(job_()); }
  int starts = 0;

 private:
  Job job_;
  Done done_;
};

TEST(FeatureDlgRunTest, NoSecondRunWhileOneIsActiveAndCancelClosesAfterTheTable) {
  TempDir dir;
  testing::WriteWaveformFile(dir / "a.txt", testing::BurstSamples(500, 100, 2e5, 4e5, 1e-7, 1),
                             1e-7, 2.0);
  MemoryControls controls(FeatureDialogTemplate());
  RecordingHost host;
  HeldRunner runner;
  FeatureWorkspace workspace;
  CFeatureDlg dialog(controls, host, runner, workspace);
  dialog.OnInitDialog();
  host.folder_answers.push_back(dir.path());
  host.folder_answers.push_back(dir.path());
  dialog.OnClicked(kIdfExtract);
  EXPECT_FALSE(controls.IsEnabled(kIdfExtract));
  dialog.OnClicked(kIdfExtract);
  EXPECT_EQ(runner.starts, 1);
  EXPECT_FALSE(dialog.OnCancel());  // stays until the run is over
  EXPECT_FALSE(controls.endResult.has_value());
  runner.Finish();
  EXPECT_TRUE(testing::Exists(FeatureResultsPath(dir.path())));
  EXPECT_EQ(controls.endResult, kIdCancel);
  EXPECT_TRUE(controls.IsEnabled(kIdfExtract));
}

TEST(FeatureDlgRunTest, SampleCountStopKeepsTheDialogOpen) {
  TempDir dir;
  std::vector<double> longWave(20000, 0.001);
  testing::WriteWaveformFile(dir / "a.txt", longWave, 1e-7, 2.0);
  MemoryControls controls(FeatureDialogTemplate());
  RecordingHost host;
  InlineRunner runner;
  FeatureWorkspace workspace;
  CFeatureDlg dialog(controls, host, runner, workspace);
  dialog.OnInitDialog();
  host.folder_answers.push_back(dir.path());
  dialog.OnClicked(kIdfExtract);
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"Sampling size of 20000 exceeds program limit of 16384! "
                                     "(--max-samples N raises the limit, up to 1048576)\n" +
                                     dir / "a.txt"});
  EXPECT_FALSE(controls.endResult.has_value());
  EXPECT_FALSE(testing::Exists(FeatureResultsPath(dir.path())));
}

// Stray files are skipped as on the command line: the table of the others is written, one
// message after the run names each skipped file, and a second run in the same workspace (a
// file without a time of test after one with it) gives the same table.
TEST(FeatureDlgRunTest, StrayFilesAreListedInOneMessageAndTheTableIsWritten) {
  TempDir dir;
  testing::WriteWaveformFile(dir / "a.txt", testing::BurstSamples(3000, 2100, 2e5, 4e5, 1e-7, 2),
                             1e-7, 7.0);
  testing::WriteWaveformFile(dir / "b.txt", testing::BurstSamples(3000, 2200, 3e5, 4e5, 1e-7, 3),
                             1e-7, 0.0);
  std::string noTime = testing::ReadBytes(dir / "b.txt");
  noTime.replace(noTime.find("TIME OF TEST"), 12, "NOTE");
  testing::WriteBytes(dir / "b.txt", noTime);
  testing::WriteBytes(dir / "README.txt", "about the test\n");
  testing::WriteBytes(dir / "c_fft.txt", "frequency\tmagnitude\n1\t2\n");
  MemoryControls controls(FeatureDialogTemplate());
  RecordingHost host;
  InlineRunner runner;
  FeatureWorkspace workspace;
  std::string tables[2];
  for (std::string& table : tables) {
    CFeatureDlg dialog(controls, host, runner, workspace);
    dialog.OnInitDialog();
    host.messages.clear();
    host.folder_answers.push_back(dir.path());
    dialog.OnClicked(kIdfExtract);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind("2 files skipped:\n", 0), 0u) << host.messages[0];
    EXPECT_NE(host.messages[0].find(dir / "README.txt"), std::string::npos);
    EXPECT_NE(host.messages[0].find(dir / "c_fft.txt"), std::string::npos);
    table = testing::ReadBytes(FeatureResultsPath(dir.path()));
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 4);
  }
  EXPECT_EQ(tables[0], tables[1]);
}

}  // namespace
}  // namespace plexo
