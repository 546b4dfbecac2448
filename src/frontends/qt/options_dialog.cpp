#include "frontends/qt/options_dialog.h"

#include "app/options_controls.h"

namespace plexo::qt {

OptionsDialog::OptionsDialog(QWidget* parent, CalcMode mode, Calculations& calculations,
                             const std::string& setupPath, Host* host)
    : DialogWindow(OptionsDialogTemplate(), parent, host,
                   [&](Controls& controls, Host& shown, CalcRunner& runner) {
                     return COptionsDlg(mode, controls, shown, calculations, runner, setupPath);
                   }) {
  view_.onClicked = [this](ControlId id) { logic_.OnClicked(id); };
  view_.onComboChanged = [this](ControlId id) { logic_.OnComboChanged(id); };
  view_.onClose = [this] { return logic_.OnClose(); };
  logic_.OnInitDialog();
}

OptionsDialog::~OptionsDialog() {
  if (!destroyed_) logic_.OnDestroy();
}

int OptionsDialog::Exec() {
  const int result = view_.exec();
  // The window is gone: the setup file is written once more, as on every way out.
  logic_.OnDestroy();
  destroyed_ = true;
  return result;
}

}  // namespace plexo::qt
