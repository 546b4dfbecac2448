#pragma once
// An Options dialog on in-memory controls, a recording host, recording calculations and a setup
// file in a temporary folder.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "app/options_dlg.h"
#include "fake_calculations.h"
#include "platform/memory_controls.h"
#include "platform/recording_host.h"
#include "signal/setup_file.h"
#include "support/temp_dir.h"

namespace plexo::testing {

class OptionsDialogTest : public ::testing::Test {
 protected:
  // Writes the setup file the dialog will read.
  void WriteSetup(const CalcSettings& settings, const std::string& fftPath = "/data/fft",
                  const std::string& wtPath = "/data/wt", const std::string& hwPath = "/data/hw") {
    ASSERT_TRUE(SaveSetup(settings, fftPath, wtPath, hwPath, setupPath));
  }

  // Adds lines to the setup file; a repeated key takes the last value, so this overrides.
  void AppendToSetup(const std::string& lines) {
    std::ofstream(setupPath, std::ios::binary | std::ios::app) << lines;
  }

  // Opens a fresh dialog (as a menu command does) on the setup file.
  COptionsDlg& Open(CalcMode mode) {
    controls = std::make_unique<MemoryControls>(OptionsDialogTemplate());
    dialog = std::make_unique<COptionsDlg>(mode, *controls, host, calculations, runner, setupPath);
    dialog->OnInitDialog();
    return *dialog;
  }

  // A click on a check box toggles it before the handler runs.
  void ToggleCheckBox(ControlId id) {
    controls->SetChecked(id, !controls->IsChecked(id));
    dialog->OnClicked(id);
  }

  std::string ReadSetupText(const std::string& path) const { return ReadBytes(path); }

  TempDir folder;
  std::string setupPath = folder.File("Setup.ini");
  RecordingHost host;
  FakeCalculations calculations;
  InlineRunner runner;
  std::unique_ptr<MemoryControls> controls;
  std::unique_ptr<COptionsDlg> dialog;
};

}  // namespace plexo::testing
