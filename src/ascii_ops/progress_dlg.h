#pragma once
// The "Conversion Progress" dialog's logic: on opening it asks for the folder (or, for the two
// localisation conversions, the listing file), runs the operator of the mode with the dialog's
// progress bar and ends with the operator's result. "Abort" asks the operator to stop between
// files; the dialog then ends as soon as the operator returns.
#include <atomic>

#include "ascii_ops/ascii_operators.h"
#include "platform/calc_runner.h"
#include "platform/controls.h"
#include "platform/dialog_progress.h"
#include "platform/dialog_template.h"
#include "platform/host.h"
#include "signal/calc_mode.h"

namespace plexo {

inline constexpr ControlId kIdcConversionProgress = 1049;

// The dialog's controls: the progress bar and "Abort" (the Cancel button).
const DialogTemplate& ProgressDialogTemplate();

class CProgressDlg {
 public:
  CProgressDlg(CalcMode mode, Controls& controls, Host& host, AsciiOperators& operators,
               CalcRunner& runner);

  // Picks the input and starts the operator; ends the dialog at once (result 0) when the picker
  // is cancelled or the mode is no operator's.
  void OnInitDialog();
  // "Abort".
  void OnClicked(ControlId id);
  // The window is asked to close: as "Abort". False while the operator runs: the dialog then
  // ends itself when it returns.
  bool OnClose();

  bool Running() const { return running_; }
  bool StopRequested() const { return stopRequested_.load() != 0; }
  // The status of the finished run.
  CalcStatus Status() const { return status_; }
  CalcProgress& Progress() { return progress_; }

 private:
  void Finished(CalcStatus status);

  CalcMode mode_;
  Controls& controls_;
  Host& host_;
  AsciiOperators& operators_;
  CalcRunner& runner_;
  std::atomic<int> stopRequested_{0};
  bool running_ = false;
  CalcStatus status_ = CalcStatus::kRefused;
  DialogProgress progress_{controls_, kIdcConversionProgress, stopRequested_};
};

}  // namespace plexo
