#pragma once
// The Options dialog on the desktop: the control table's widgets, the Qt host and a worker
// thread around the toolkit-free COptionsDlg.
#include <memory>
#include <string>

#include "app/options_dlg.h"
#include "frontends/qt/dialog_view.h"
#include "frontends/qt/qt_host.h"
#include "frontends/qt/worker_runner.h"

namespace plexo::qt {

class OptionsDialog {
 public:
  // `host` defaults to the desktop's own; tests pass a recording one.
  OptionsDialog(QWidget* parent, CalcMode mode, Calculations& calculations,
                const std::string& setupPath, Host* host = nullptr);
  ~OptionsDialog();

  // Runs the dialog modally; returns its result.
  int Exec();

  DialogView& View() { return view_; }
  COptionsDlg& Logic() { return logic_; }

 private:
  QtHost qtHost_;
  DialogView view_;
  WorkerRunner runner_;
  COptionsDlg logic_;
  bool destroyed_ = false;
};

}  // namespace plexo::qt
