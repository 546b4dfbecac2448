// The "Import waveforms" dialog's logic on controls kept in memory.
#include "app/import_dlg.h"

#include <gtest/gtest.h>

// The records below name only the fields that differ from a plain one.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <filesystem>

#include "app/import_controls.h"
#include "app/main_commands.h"
#include "platform/memory_controls.h"
#include "platform/recording_host.h"
#include "signal/waveform_file.h"
#include "support/database_maker.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::TempDir;
using testing::WriteBytes;

const std::string kCsv =
    "SOURCE FILE NAME: x\nDATE: d\nTIME: t\nSAMPLE INTERVAL (Seconds):   0.0000010000\n"
    "SIGNAL UNITS: volts\nTIME UNITS: Seconds\nDATA TYPE: WAVEFORM\n"
    "NUMBER OF DATA POINTS PER WAVEFORM: 2\nCHANNEL NUMBER: 1\nHIT NUMBER: 1\n"
    "TIME OF TEST: 1.5\n\n0.0, 0.5\n0.000001, 0.25\n";

TEST(ImportDialog, TheFoldersArePickedSourceFirstAndEitherCancelEndsIt) {
  RecordingHost host;
  host.folder_answers = {"/data/raw", "/data/imported"};
  const auto folders = AskImportFolders(host);
  ASSERT_TRUE(folders);
  EXPECT_EQ(folders->source, "/data/raw");
  EXPECT_EQ(folders->target, "/data/imported");

  host.folder_answers = {"/data/raw", std::nullopt};
  EXPECT_FALSE(AskImportFolders(host));
  host.folder_requests = 0;
  host.folder_answers = {std::nullopt};
  EXPECT_FALSE(AskImportFolders(host));
  EXPECT_EQ(host.folder_requests, 1);
  // Each picker says what it picks: the two look the same otherwise.
  EXPECT_EQ(
      host.folder_titles,
      (std::vector<std::string>{std::string(kImportSourceTitle), std::string(kImportTargetTitle),
                                std::string(kImportSourceTitle), std::string(kImportTargetTitle),
                                std::string(kImportSourceTitle)}));
}

struct DialogRun {
  TempDir dir;
  MemoryControls controls{ImportDialogTemplate()};
  RecordingHost host;
  InlineRunner runner;
  std::unique_ptr<CImportDlg> dialog;

  void Open() {
    dialog = std::make_unique<CImportDlg>(controls, host, runner,
                                          ImportFolders{dir / "in", dir / "out"});
    dialog->OnInitDialog();
  }
};

TEST(ImportDialog, AsksTheSampleIntervalOnlyWhenHeaderlessFilesArePresent) {
  DialogRun run;
  std::filesystem::create_directory(run.dir / "in");
  WriteBytes(run.dir / "in/a.csv", kCsv);
  run.Open();
  EXPECT_FALSE(run.controls.IsEnabled(kIdcImportDt));
  EXPECT_FALSE(run.controls.IsEnabled(kIdcImportDtLabel));
  run.dialog->OnClicked(kIdcImportStart);
  ASSERT_EQ(run.host.messages.size(), 1u);
  EXPECT_EQ(run.host.messages[0], "Imported 1 of 1 files into " + (run.dir / "out") + ".");
  EXPECT_EQ(run.host.informed, run.host.messages);  // success: no warning sign
  EXPECT_EQ(run.controls.endResult, kIdOk);
  EXPECT_EQ(run.controls.StateOf(kIdcImportProgress).progressPos, 1);
}

TEST(ImportDialog, RefusesAMissingIntervalAndListsWhatWasRefused) {
  DialogRun run;
  std::filesystem::create_directory(run.dir / "in");
  WriteBytes(run.dir / "in/a.csv", kCsv);
  WriteBytes(run.dir / "in/b.txt", "0.5\n0.25\n");
  WriteBytes(run.dir / "in/c.txt", "0.5\nclipped\n");
  run.Open();
  EXPECT_EQ(run.dialog->HeaderlessFiles(), 2);
  EXPECT_TRUE(run.controls.IsEnabled(kIdcImportDt));
  EXPECT_EQ(run.controls.Text(kIdcImportFiles), "3 .txt and .csv files, 2 of them headerless");

  run.controls.SetText(kIdcImportDt, "0");
  run.dialog->OnClicked(kIdcImportStart);
  EXPECT_EQ(run.host.messages, std::vector<std::string>{std::string(kImportDtMessage)});
  EXPECT_FALSE(Exists(run.dir / "out"));
  EXPECT_TRUE(run.host.written.empty());

  run.controls.SetText(kIdcImportDt, "2e-7");
  run.dialog->OnClicked(kIdcImportStart);
  ASSERT_EQ(run.host.messages.size(), 2u);
  EXPECT_EQ(run.host.messages[1], "Imported 2 of 3 files into " + (run.dir / "out") +
                                      ".\nc.txt: refused: line 2: \"clipped\" is not a number");
  EXPECT_TRUE(run.host.informed.empty());  // a refused file is a warning
  // The status bar names what was written, the refused file not among it.
  EXPECT_EQ(run.host.written,
            (std::vector<std::string>{run.dir / "out/a.txt", run.dir / "out/b.txt"}));
  EXPECT_FALSE(run.controls.endResult);  // open to try again
  EXPECT_TRUE(run.controls.IsEnabled(kIdcImportStart));
  Waveform wf;
  ASSERT_EQ(ReadWaveform(run.dir / "out/b.txt", wf), 2);
  EXPECT_EQ(wf.sampleInterval, 2e-7);
}

TEST(ImportDialog, ImportsTheRecordsOfAWaveformDatabaseInTheFolder) {
  DialogRun run;
  std::filesystem::create_directory(run.dir / "in");
  WriteBytes(run.dir / "in/a.csv", kCsv);
  testing::MakeDatabase(run.dir / "in/plate.tradb",
                        {{.trai = 1, .values = testing::TestValues(50, 1)},
                         {.trai = 2, .values = testing::TestValues(60, 2)}});
  run.Open();
  EXPECT_EQ(run.controls.Text(kIdcImportFiles), "1 .txt and .csv files and 1 waveform database");
  run.dialog->OnClicked(kIdcImportStart);
  ASSERT_EQ(run.host.messages.size(), 1u);
  EXPECT_EQ(run.host.messages[0], "Imported 3 of 3 files into " + (run.dir / "out") + ".");
  EXPECT_EQ(run.host.informed, run.host.messages);
  Waveform wf;
  EXPECT_EQ(ReadWaveform(run.dir / "out/plate_2.txt", wf), 60);
}

class ImportFrame : public FrameWindow {
 public:
  void RunOptionsDialog(CalcMode) override {}
  void RunAboutBox() override {}
  void ToggleStatusBar() override {}
  void Quit() override {}
  bool RunImportDialog() override { return ++imports > 0; }
  int imports = 0;
};

TEST(ImportDialog, TheFileMenuOpensIt) {
  ImportFrame frame;
  RecordingHost host;
  MainCommands commands(frame, host);
  const MenuItem* item = FindMenuItem(kIdImportWaveforms);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->caption, "Import waveforms...");
  EXPECT_TRUE(commands.OnCommand(kIdImportWaveforms));
  EXPECT_EQ(frame.imports, 1);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(MainMenu()[0].caption, "&File");
}

}  // namespace
}  // namespace plexo
