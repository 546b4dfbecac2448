#pragma once
// The Feature Extraction dialog's logic: the feature check boxes and their enable rules, the
// parameter texts, the band check, and "Extract!" running the extraction over a folder. It works
// on a Controls and a Host, so it runs the same behind the desktop's widgets and in a test.
#include <atomic>
#include <functional>
#include <string>

#include "features/feature_controls.h"
#include "features/feature_extraction.h"
#include "features/feature_params.h"
#include "platform/calc_runner.h"
#include "platform/controls.h"
#include "platform/dialog_progress.h"
#include "platform/host.h"

namespace plexo {

class CFeatureDlg {
 public:
  // `jobs` is the worker count of a run (0: one per core). `setupPath`, when not empty, is the
  // setup file whose sample limit and wavelet method the dialog starts from and stores.
  CFeatureDlg(Controls& controls, Host& host, CalcRunner& runner, FeatureWorkspace& workspace,
              int jobs = 0, std::string setupPath = {});

  // Fills the controls from the parameters and checks the initial feature boxes.
  void OnInitDialog();
  // Moves every text between the edits and the record: true reads the fields, false refreshes
  // them (replacing whatever was typed since they were last read).
  void UpdateData(bool fromControls);

  // A button or check box was clicked (check boxes have toggled already).
  void OnClicked(ControlId id);
  // Cancel, Escape or the close box. False while a run is active: the dialog then ends itself
  // when the run has written its table.
  bool OnCancel();
  // The window goes away.
  void OnDestroy() { stopRequested_ = 1; }

  // "Review onsets...": the front end opens its review window with the dialog's settings (the
  // window length after the pick) and sample limit. Without it the button does nothing.
  std::function<void(const FeatureSettings& settings, int maxSamples)> onReviewOnsets;

  bool StopRequested() const { return stopRequested_.load() != 0; }
  bool Running() const { return running_; }
  const FeatureParams& Params() const { return params_; }
  // The columns the check boxes select now.
  FeatureColumns CheckedColumns() const;
  CalcProgress& Progress() { return progress_; }

 private:
  void OnPartialPower(int band);
  // A wavelet column other than a band's: the wavelet settings follow whether any is checked.
  void OnWaveletColumn(ControlId id);
  void OnWaveletPeak(int band);
  void OnUseAic();
  void OnArrivalTime();
  void OnUseOnsets();
  void OnReviewOnsets();
  // With "Use corrected onsets": the reviewed picks of the folder (or an empty text), else the
  // message that refuses the run (the file is missing or cannot be read).
  std::string LoadOnsets(FeatureRequest& request) const;
  void OnExtract();
  void Finished(CalcStatus status);

  void EnableWtSettings(bool enabled);
  // Writes the sample limit and the wavelet method into the setup file when they changed.
  void StoreSetup();
  bool AnyWaveletChecked() const;

  Controls& controls_;
  Host& host_;
  CalcRunner& runner_;
  FeatureWorkspace& workspace_;
  int jobs_;
  std::string setupPath_;
  FeatureParams params_;
  std::string onsetsPath_;  // the reviewed picks of the run, named in its message
  std::atomic<int> stopRequested_{0};
  bool running_ = false;
  bool closeAfterRun_ = false;
  DialogProgress progress_{controls_, kIdfProgress, stopRequested_};
};

}  // namespace plexo
