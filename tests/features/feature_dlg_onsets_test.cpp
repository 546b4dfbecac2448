// The Feature Extraction dialog and the reviewed onsets: "Use corrected onsets" runs as
// `plexo features DIR --onsets DIR/FXData/Onsets.txt` does (the table compared with the command
// line's), refuses a run without the file, follows "Use AIC"; "Review onsets..." hands the
// review window the dialog's settings.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "feature_test_data.h"
#include "features/feature_dlg.h"
#include "features/onset_run.h"
#include "platform/memory_controls.h"
#include "platform/recording_host.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::ReadBytes;
using testing::RunPlexo;
using testing::TempDir;
using testing::WriteBytes;

constexpr double kDt = 1e-7;

void MakeHits(const std::string& folder) {
  const int bursts[] = {400, 700, 1100};
  for (int i = 0; i < 3; ++i) {
    testing::WriteWaveformFile(folder + "/hit_00" + std::to_string(i + 1) + ".txt",
                               testing::BurstSamples(4000, bursts[i], 150e3, 320e3, kDt, i + 1),
                               kDt, 10.0 + i);
  }
}

// Replaces cell `cell` of the line naming `name` in a tab-separated CR LF table.
void EditCell(std::string& table, const std::string& name, int cell, const std::string& text) {
  size_t at = table.find("\r\n" + name + "\t") + 2;
  for (int i = 0; i < cell; ++i) at = table.find('\t', at) + 1;
  table.replace(at, table.find('\t', at) - at, text);
}

struct DialogRun {
  DialogRun() { dialog.OnInitDialog(); }
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

TEST(FeatureDlgOnsets, TheCorrectedOnsetsBoxGoesWithUseAic) {
  DialogRun run;
  const ControlSpec* box = nullptr;
  for (const ControlSpec& c : FeatureDialogTemplate().controls)
    if (c.id == kIdfUseOnsets) box = &c;
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->caption, "Use corrected onsets");
  EXPECT_EQ(box->group, kIdfTimeGroup);
  EXPECT_FALSE(run.controls.IsChecked(kIdfUseOnsets));
  EXPECT_TRUE(run.controls.IsEnabled(kIdfReviewOnsets));
  // Checking it checks "Use AIC" with its rule: the window after the pick lasts "Duration:".
  run.Toggle(kIdfUseOnsets);
  EXPECT_TRUE(run.controls.IsChecked(kIdfUseAic));
  EXPECT_TRUE(run.controls.IsEnabled(kIdfDuration));
  EXPECT_FALSE(run.controls.IsEnabled(kIdfTimeStart));
  // Unchecking "Use AIC" (or "Arrival Time") unchecks it: the picks would have no use.
  run.Toggle(kIdfUseAic);
  EXPECT_FALSE(run.controls.IsChecked(kIdfUseOnsets));
  run.Toggle(kIdfUseOnsets);
  run.Toggle(kIdfArrivalTime);  // checked: Use AIC stays checked
  EXPECT_TRUE(run.controls.IsChecked(kIdfUseOnsets));
  run.Toggle(kIdfArrivalTime);  // unchecked: Use AIC too
  EXPECT_FALSE(run.controls.IsChecked(kIdfUseOnsets));
  // Unchecking the box leaves "Use AIC" as it is.
  run.Toggle(kIdfUseAic);
  run.Toggle(kIdfUseOnsets);
  run.Toggle(kIdfUseOnsets);
  EXPECT_TRUE(run.controls.IsChecked(kIdfUseAic));
}

TEST(FeatureDlgOnsets, TheReviewedPicksRunAsTheCommandLineRunsThem) {
  TempDir dir, cli;
  MakeHits(dir.path());
  MakeHits(cli.path());
  ASSERT_EQ(RunPlexo("onsets " + dir.path()).status, 0);
  // Reviewed by hand: hit_001 moved to sample 380, hit_002 rejected; hit_003 stays automatic.
  std::string onsets = ReadBytes(OnsetFilePath(dir.path()));
  EditCell(onsets, "hit_001.txt", 3, "380");
  EditCell(onsets, "hit_001.txt", 4, "1.00000380000000e+001");
  EditCell(onsets, "hit_001.txt", 5, "corrected");
  EditCell(onsets, "hit_002.txt", 5, "rejected");
  WriteBytes(OnsetFilePath(dir.path()), onsets);
  std::filesystem::create_directories(cli / "FXData");
  WriteBytes(OnsetFilePath(cli.path()), onsets);

  DialogRun run;
  run.Toggle(kIdfArrivalTime);
  run.Toggle(kIdfUseOnsets);
  run.host.folder_answers.push_back(dir.path());
  run.dialog.OnClicked(kIdfExtract);
  EXPECT_EQ(run.controls.endResult, std::optional<int>(kIdOk));
  const std::string table = ReadBytes(FeatureResultsPath(dir.path()));
  ASSERT_FALSE(table.empty());
  // The run names the rejected hit in its closing message.
  ASSERT_EQ(run.host.messages.size(), 1u);
  EXPECT_EQ(run.host.messages[0],
            "1 rejected in " + OnsetFilePath(dir.path()) + ", left out:\n" + (dir / "hit_002.txt"));

  const std::string columns =
      "arrival-time,amplitude,energy,peak-frequency-1,peak-frequency-2,peak-frequency-3,"
      "weighted-peak-frequency-1,weighted-peak-frequency-2,weighted-peak-frequency-3,centroid,"
      "partial-power-1,partial-power-2,partial-power-3,partial-power-4,partial-power-5,"
      "partial-power-6";
  ASSERT_EQ(RunPlexo("features " + cli.path() + " --columns " + columns + " --onsets " +
                     OnsetFilePath(cli.path()))
                .status,
            0);
  EXPECT_EQ(table, ReadBytes(FeatureResultsPath(cli.path())));
  // Two rows: hit_002 left out; hit_001's arrival time is its corrected sample's.
  const size_t rows = static_cast<size_t>(std::count(table.begin(), table.end(), '\n')) - 2;
  EXPECT_EQ(rows, 2u);
  EXPECT_EQ(table.find("1.00000380000000e+001\t"), table.find("\r\n", table.find("\r\n") + 2) + 2)
      << table;
}

TEST(FeatureDlgOnsets, NoOnsetsFileRefusesTheRunAndNamesIt) {
  TempDir dir;
  MakeHits(dir.path());
  DialogRun run;
  run.Toggle(kIdfUseOnsets);
  run.host.folder_answers.push_back(dir.path());
  run.dialog.OnClicked(kIdfExtract);
  ASSERT_EQ(run.host.messages.size(), 1u);
  EXPECT_EQ(run.host.messages[0],
            "No reviewed onsets: " + OnsetFilePath(dir.path()) +
                " does not exist.\nReview the onsets of the folder first (\"Review onsets...\"), "
                "or uncheck \"Use corrected onsets\".");
  EXPECT_FALSE(std::filesystem::exists(FeatureResultsPath(dir.path())));
  EXPECT_FALSE(run.controls.endResult) << "the dialog stays open for another try";
  EXPECT_TRUE(run.controls.IsEnabled(kIdfExtract));

  // A file that cannot be read: its reader's message, nothing written.
  std::filesystem::create_directories(dir / "FXData");
  WriteBytes(OnsetFilePath(dir.path()), "not\tan onsets file\r\n");
  run.host.folder_answers.push_back(dir.path());
  run.dialog.OnClicked(kIdfExtract);
  ASSERT_EQ(run.host.messages.size(), 2u);
  EXPECT_NE(run.host.messages[1].find(OnsetFilePath(dir.path())), std::string::npos)
      << run.host.messages[1];
  EXPECT_FALSE(std::filesystem::exists(FeatureResultsPath(dir.path())));
}

TEST(FeatureDlgOnsets, ReviewOnsetsHandsTheWindowTheTypedSettings) {
  DialogRun run;
  run.dialog.OnClicked(kIdfReviewOnsets);  // no window to open: nothing happens
  EXPECT_TRUE(run.host.messages.empty());
  std::optional<FeatureSettings> given;
  int limit = 0;
  run.dialog.onReviewOnsets = [&](const FeatureSettings& settings, int maxSamples) {
    given = settings;
    limit = maxSamples;
  };
  run.controls.SetText(kIdfDuration, "250e-6");  // typed, not yet read
  run.controls.SetText(kIdfMaxSamples, "20000");
  run.dialog.OnClicked(kIdfReviewOnsets);
  ASSERT_TRUE(given);
  EXPECT_EQ(given->duration, 250e-6);
  EXPECT_TRUE(given->useAic);
  EXPECT_EQ(limit, 20000);
  EXPECT_EQ(run.dialog.Params().duration, "250e-6") << "the typed text was read, not replaced";
  // A limit that is none is refused as "Extract!" refuses it.
  given.reset();
  run.controls.SetText(kIdfMaxSamples, "lots");
  run.dialog.OnClicked(kIdfReviewOnsets);
  EXPECT_FALSE(given);
  ASSERT_EQ(run.host.messages.size(), 1u);
  EXPECT_EQ(run.host.messages[0], kMaxSamplesMessage);
}

}  // namespace
}  // namespace plexo
