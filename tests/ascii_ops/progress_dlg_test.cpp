// The conversion progress dialog's logic, driven through in-memory controls.
#include "ascii_ops/progress_dlg.h"

#include <gtest/gtest.h>

#include "platform/memory_controls.h"
#include "platform/recording_host.h"

namespace plexo {
namespace {

class RecordingOperators : public AsciiOperators {
 public:
  CalcStatus Run(CalcMode mode, const std::string& path, CalcProgress& progress, Host&) override {
    modes.push_back(mode);
    paths.push_back(path);
    progress.SetRange(0, 3);
    progress.SetPos(3);
    return result;
  }
  std::vector<CalcMode> modes;
  std::vector<std::string> paths;
  CalcStatus result = CalcStatus::kDone;
};

// Keeps the job until the test runs it, as a worker thread would.
class HeldRunner : public CalcRunner {
 public:
  void Start(Job job, Done done) override {
    job_ = std::move(job);
    done_ = std::move(done);
  }
  void Finish() { done_(job_()); }

 private:
  Job job_;
  Done done_;
};

struct ModeCase {
  CalcMode mode;
  const char* filter;  // "" for the folder picker
};

class ProgressDlgModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ProgressDlgModes, PicksTheInputRunsTheOperatorAndEndsWithItsResult) {
  const ModeCase& c = GetParam();
  MemoryControls controls(ProgressDialogTemplate());
  RecordingHost host;
  host.folder_answers.push_back("/data/folder");
  host.file_answers.push_back("/data/listing.txt");
  RecordingOperators operators;
  InlineRunner runner;
  CProgressDlg dialog(c.mode, controls, host, operators, runner);
  dialog.OnInitDialog();
  const bool file = *c.filter != '\0';
  EXPECT_EQ(host.folder_requests, file ? 0 : 1);
  EXPECT_EQ(host.file_filters,
            file ? std::vector<std::string>{c.filter} : std::vector<std::string>{});
  EXPECT_EQ(operators.modes, std::vector<CalcMode>{c.mode});
  EXPECT_EQ(operators.paths, std::vector<std::string>{file ? "/data/listing.txt" : "/data/folder"});
  EXPECT_EQ(controls.StateOf(kIdcConversionProgress).progressHigh, 3);
  EXPECT_EQ(controls.StateOf(kIdcConversionProgress).progressPos, 3);
  EXPECT_EQ(controls.endResult, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ProgressDlgModes,
    ::testing::Values(ModeCase{CalcMode::kAccumulate, ""}, ModeCase{CalcMode::kColumns, ""},
                      ModeCase{CalcMode::kEventLinking, ""}, ModeCase{CalcMode::kSplit, ""},
                      ModeCase{CalcMode::kAewinToAscii,
                               "Physical Acoustics ASCII-Files(*.txt)|*.txt||"},
                      ModeCase{CalcMode::kVisualAeToAscii, "Vallen ASCII-Files(*.txt)|*.txt||"}),
    [](const ::testing::TestParamInfo<ModeCase>& info) {
      return "Mode" + std::to_string(static_cast<int>(info.param.mode));
    });

TEST(ProgressDlgTest, ACancelledPickerOrAFailedOperatorEndsWithZero) {
  MemoryControls controls(ProgressDialogTemplate());
  RecordingHost host;
  RecordingOperators operators;
  InlineRunner runner;
  CProgressDlg cancelled(CalcMode::kColumns, controls, host, operators, runner);
  cancelled.OnInitDialog();
  EXPECT_EQ(controls.endResult, 0);
  EXPECT_TRUE(operators.modes.empty());

  controls.endResult.reset();
  host.folder_answers.push_back("/f");
  operators.result = CalcStatus::kRefused;
  CProgressDlg refused(CalcMode::kSplit, controls, host, operators, runner);
  refused.OnInitDialog();
  EXPECT_EQ(controls.endResult, 0);

  controls.endResult.reset();
  CProgressDlg options_mode(CalcMode::kSingleFft, controls, host, operators, runner);
  options_mode.OnInitDialog();
  EXPECT_EQ(controls.endResult, 0);
  EXPECT_EQ(operators.modes.size(), 1u);
}

TEST(ProgressDlgTest, AbortAsksTheRunningOperatorToStopAndTheDialogEndsWhenItReturns) {
  MemoryControls controls(ProgressDialogTemplate());
  RecordingHost host;
  host.folder_answers.push_back("/f");
  RecordingOperators operators;
  operators.result = CalcStatus::kStopped;
  HeldRunner runner;
  CProgressDlg dialog(CalcMode::kEventLinking, controls, host, operators, runner);
  dialog.OnInitDialog();
  ASSERT_TRUE(dialog.Running());
  EXPECT_FALSE(dialog.StopRequested());
  dialog.OnClicked(kIdCancel);
  EXPECT_TRUE(dialog.StopRequested());
  EXPECT_TRUE(dialog.Progress().StopRequested());
  EXPECT_FALSE(controls.IsEnabled(kIdCancel));
  EXPECT_FALSE(controls.endResult.has_value());
  EXPECT_FALSE(dialog.OnClose());
  runner.Finish();
  EXPECT_FALSE(dialog.Running());
  EXPECT_EQ(controls.endResult, 0);
  EXPECT_EQ(dialog.Status(), CalcStatus::kStopped);
  EXPECT_TRUE(dialog.OnClose());
}

}  // namespace
}  // namespace plexo
