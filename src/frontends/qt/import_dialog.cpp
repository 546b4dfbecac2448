#include "frontends/qt/import_dialog.h"

#include "app/import_controls.h"

namespace plexo::qt {

ImportDialog::ImportDialog(QWidget* parent, ImportFolders folders, Host& host)
    : DialogWindow(ImportDialogTemplate(), parent, &host,
                   [&](Controls& controls, Host& shown, CalcRunner& runner) {
                     return CImportDlg(controls, shown, runner, std::move(folders));
                   }) {
  view_.onClicked = [this](ControlId id) { logic_.OnClicked(id); };
  view_.onClose = [this] { return logic_.OnClose(); };
  logic_.OnInitDialog();
}

}  // namespace plexo::qt
