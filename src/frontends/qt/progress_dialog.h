#pragma once
// The "Conversion Progress" dialog on the desktop: the control table's widgets and a worker
// thread around the toolkit-free CProgressDlg.
#include "ascii_ops/progress_dlg.h"
#include "frontends/qt/dialog_view.h"
#include "frontends/qt/qt_host.h"
#include "frontends/qt/worker_runner.h"

namespace plexo::qt {

class ProgressDialog {
 public:
  // `host` defaults to the desktop's own; tests pass a recording one.
  ProgressDialog(QWidget* parent, CalcMode mode, AsciiOperators& operators, Host* host = nullptr);

  // Shows the dialog, starts the operator from inside the dialog's event loop and returns the
  // dialog's result once the operator has ended it.
  int Exec();

  DialogView& View() { return view_; }
  CProgressDlg& Logic() { return logic_; }

 private:
  QtHost qtHost_;
  DialogView view_;
  WorkerRunner runner_;
  CProgressDlg logic_;
};

}  // namespace plexo::qt
