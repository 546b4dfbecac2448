#include "frontends/qt/progress_dialog.h"

#include <QTimer>

namespace plexo::qt {

ProgressDialog::ProgressDialog(QWidget* parent, CalcMode mode, AsciiOperators& operators,
                               Host* host)
    : DialogWindow(ProgressDialogTemplate(), parent, host,
                   [&](Controls& controls, Host& shown, CalcRunner& runner) {
                     return CProgressDlg(mode, controls, shown, operators, runner);
                   }) {
  view_.onClicked = [this](ControlId id) { logic_.OnClicked(id); };
  view_.onClose = [this] { return logic_.OnClose(); };
}

int ProgressDialog::Exec() {
  // The dialog is on screen before it asks for the input, and an end requested at once (a
  // cancelled picker) reaches a running event loop.
  QTimer::singleShot(0, &view_, [this] { logic_.OnInitDialog(); });
  return view_.exec();
}

}  // namespace plexo::qt
