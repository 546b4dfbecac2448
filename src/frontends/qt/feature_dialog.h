#pragma once
// The Feature Extraction dialog on the desktop, around the toolkit-free CFeatureDlg.
#include <string>

#include "features/feature_dlg.h"
#include "frontends/qt/dialog_window.h"

namespace plexo::qt {

class FeatureDialog : public DialogWindow<CFeatureDlg> {
 public:
  // `workspace` outlives the dialog (the frame keeps it between openings); `host` defaults to
  // the desktop's own, tests pass a recording one. `setupPath` is the setup file that keeps the
  // sample limit and the wavelet method (none when empty).
  FeatureDialog(QWidget* parent, FeatureWorkspace& workspace, Host* host = nullptr,
                const std::string& setupPath = {});
  ~FeatureDialog();

  // Runs the dialog modally; returns its result.
  int Exec();
};

}  // namespace plexo::qt
