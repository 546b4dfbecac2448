#pragma once
// The Options dialog's logic: shows the calculation settings, enables the controls the mode
// needs, picks input files and folders, and on "Calculate!" validates the input and starts the
// calculation of the mode. It works on a Controls and a Host, so it runs the same behind the
// desktop's widgets and in a test.
#include <atomic>
#include <map>
#include <string>
#include <string_view>

#include "app/calculations.h"
#include "app/options_controls.h"
#include "platform/calc_runner.h"
#include "platform/controls.h"
#include "platform/dialog_progress.h"
#include "platform/host.h"
#include "signal/calc_mode.h"
#include "signal/calc_settings.h"

namespace plexo {

inline constexpr std::string_view kWaveformFilter = "ASCII-waveform(*.txt)|*.txt||";
inline constexpr std::string_view kTransferFunctionFilter = "ASCII-transfer-funtion(*.txt)|*.txt||";
inline constexpr std::string_view kSetupFilter = "PLEXO Ini-Files(*.ini)|*.ini||";
inline constexpr std::string_view kInvalidParametersMessage =
    "Non-valid input parameters! Please check consistence!";
inline constexpr std::string_view kNoTransferFunctionMessage =
    "No transfer-function necessary for calculation!";

class COptionsDlg {
 public:
  // `setupPath` is the setup file read on opening and written on closing ("Setup.ini" beside
  // the program in the desktop).
  COptionsDlg(CalcMode mode, Controls& controls, Host& host, Calculations& calculations,
              CalcRunner& runner, std::string setupPath);

  // Loads the setup file and shows it.
  void OnInitDialog();
  // Record -> controls, then enables the controls of the mode.
  void SettingsToDialog();
  // Controls -> record (the combo indices are stored by their own handlers).
  void DialogToSettings();

  // A button, radio button or check box was clicked (check boxes have toggled already).
  void OnClicked(ControlId id);
  // The user chose another entry of a combo box.
  void OnComboChanged(ControlId id);
  // The window is asked to close: saves the setup file and asks a running calculation to stop.
  // False while a calculation runs: the dialog then ends itself when the run is over.
  bool OnClose();
  // The window goes away: saves the setup file.
  void OnDestroy();

  bool Running() const { return running_; }
  bool StopRequested() const { return stopRequested_.load() != 0; }
  const CalcSettings& Settings() const { return settings_; }
  const std::string& FftPath() const { return fftPath_; }
  const std::string& WtPath() const { return wtPath_; }
  const std::string& HwPath() const { return hwPath_; }

  // The progress a calculation started by this dialog is handed (bar 1005 and the stop flag).
  CalcProgress& Progress() { return progress_; }

 private:
  // The dialog's copies of the edit texts and combo indices, exchanged with the controls.
  void UpdateData(bool fromControls);
  void EnableModeControls();
  void SaveToSetupFile();
  bool ValidGrid() const;
  TftRequest CollectTftRequest(const std::string& path) const;
  TftMethod SelectedMethod() const;

  void OnLoadSetup();
  void OnSaveSetup();
  void OnLoadFftPath();
  void OnLoadWtPath();
  void OnLoadHwPath();
  void OnSelectMethod(TftMethod method);
  void OnCalculate();
  void Start(CalcRunner::Job job);
  void Finished();

  double Number(ControlId id) const;

  CalcMode mode_;
  Controls& controls_;
  Host& host_;
  Calculations& calculations_;
  CalcRunner& runner_;
  std::string setupPath_;

  CalcSettings settings_;
  std::string fftPath_;
  std::string wtPath_;
  std::string hwPath_;
  std::map<ControlId, std::string> texts_;
  std::map<ControlId, int> comboIndices_;
  // fftPrecision as "%.0lf": kept like an edit text, but no control shows it.
  std::string precisionText_;

  std::atomic<int> stopRequested_{0};
  bool running_ = false;
  bool closeAfterRun_ = false;
  DialogProgress progress_{controls_, kIdcProgress, stopRequested_};
};

}  // namespace plexo
