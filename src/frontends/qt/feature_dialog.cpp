#include "frontends/qt/feature_dialog.h"

namespace plexo::qt {

FeatureDialog::FeatureDialog(QWidget* parent, FeatureWorkspace& workspace, Host* host,
                             const std::string& setupPath)
    : DialogWindow(FeatureDialogTemplate(), parent, host,
                   [&](Controls& controls, Host& shown, CalcRunner& runner) {
                     return CFeatureDlg(controls, shown, runner, workspace, 0, setupPath);
                   }) {
  view_.onClicked = [this](ControlId id) { logic_.OnClicked(id); };
  // The close box and Escape act as Cancel.
  view_.onClose = [this] { return logic_.OnCancel(); };
  logic_.OnInitDialog();
}

FeatureDialog::~FeatureDialog() { logic_.OnDestroy(); }

int FeatureDialog::Exec() {
  const int result = view_.exec();
  logic_.OnDestroy();
  return result;
}

}  // namespace plexo::qt
