#pragma once
// The "Conversion Progress" dialog on the desktop, around the toolkit-free CProgressDlg.
#include "ascii_ops/progress_dlg.h"
#include "frontends/qt/dialog_window.h"

namespace plexo::qt {

class ProgressDialog : public DialogWindow<CProgressDlg> {
 public:
  // `host` defaults to the desktop's own; tests pass a recording one.
  ProgressDialog(QWidget* parent, CalcMode mode, AsciiOperators& operators, Host* host = nullptr);

  // Shows the dialog, starts the operator from inside the dialog's event loop and returns the
  // dialog's result once the operator has ended it.
  int Exec();
};

}  // namespace plexo::qt
