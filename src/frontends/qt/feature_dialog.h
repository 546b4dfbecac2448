#pragma once
// The Feature Extraction dialog on the desktop: the control table's widgets, the Qt host and a
// worker thread around the toolkit-free CFeatureDlg.
#include "features/feature_dlg.h"
#include "frontends/qt/dialog_view.h"
#include "frontends/qt/qt_host.h"
#include "frontends/qt/worker_runner.h"

namespace plexo::qt {

class FeatureDialog {
 public:
  // `workspace` outlives the dialog (the frame keeps it between openings); `host` defaults to
  // the desktop's own, tests pass a recording one.
  FeatureDialog(QWidget* parent, FeatureWorkspace& workspace, Host* host = nullptr);
  ~FeatureDialog();

  // Runs the dialog modally; returns its result.
  int Exec();

  DialogView& View() { return view_; }
  CFeatureDlg& Logic() { return logic_; }

 private:
  QtHost qtHost_;
  DialogView view_;
  WorkerRunner runner_;
  CFeatureDlg logic_;
};

}  // namespace plexo::qt
