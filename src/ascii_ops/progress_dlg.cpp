#include "ascii_ops/progress_dlg.h"

#include <optional>
#include <string>

#include "ascii_ops/location_conversion.h"

namespace plexo {

const DialogTemplate& ProgressDialogTemplate() {
  static const DialogTemplate dialog = [] {
    DialogTemplate d{"Conversion Progress", 186, 54, {}};
    d.controls.push_back(ControlSpec{
        kIdcConversionProgress, ControlKind::kProgressBar, "", 0, true, {7, 9, 172, 12}, {}});
    d.controls.push_back(
        ControlSpec{kIdCancel, ControlKind::kButton, "Abort", 0, true, {68, 31, 50, 15}, {}});
    return d;
  }();
  return dialog;
}

CProgressDlg::CProgressDlg(CalcMode mode, Controls& controls, Host& host, AsciiOperators& operators,
                           CalcRunner& runner)
    : mode_(mode), controls_(controls), host_(host), operators_(operators), runner_(runner) {}

void CProgressDlg::OnInitDialog() {
  if (!IsAsciiOperatorMode(mode_)) {
    controls_.EndDialog(0);
    return;
  }
  std::optional<std::string> path;
  if (mode_ == CalcMode::kAewinToAscii)
    path = host_.OpenFile(kAewinFilter);
  else if (mode_ == CalcMode::kVisualAeToAscii)
    path = host_.OpenFile(kVisualAeFilter);
  else
    path = host_.BrowseForFolder();
  if (!path) {
    controls_.EndDialog(0);
    return;
  }
  stopRequested_ = 0;
  running_ = true;
  AsciiOperators& operators = operators_;
  Host& host = host_;
  CalcProgress& progress = progress_;
  const CalcMode mode = mode_;
  runner_.Start([&operators, &host, &progress, mode,
                 path = *path] { return operators.Run(mode, path, progress, host); },
                [this](CalcStatus status) { Finished(status); });
}

void CProgressDlg::Finished(CalcStatus status) {
  running_ = false;
  status_ = status;
  controls_.EndDialog(status == CalcStatus::kDone ? 1 : 0);
}

void CProgressDlg::OnClicked(ControlId id) {
  if (id != kIdCancel) return;
  stopRequested_ = 1;
  if (running_) {
    // Taken: the operator stops after the file it is on.
    controls_.Enable(kIdCancel, false);
  } else {
    controls_.EndDialog(0);
  }
}

bool CProgressDlg::OnClose() {
  stopRequested_ = 1;
  if (running_) {
    controls_.Enable(kIdCancel, false);
    return false;
  }
  return true;
}

}  // namespace plexo
