#include "frontends/qt/import_dialog.h"

#include "app/import_controls.h"

namespace plexo::qt {

ImportDialog::ImportDialog(QWidget* parent, ImportFolders folders, Host& host)
    : view_(ImportDialogTemplate(), parent),
      runner_(&view_),
      logic_(view_, host, runner_, std::move(folders)) {
  view_.onClicked = [this](ControlId id) { logic_.OnClicked(id); };
  view_.onClose = [this] { return logic_.OnClose(); };
  logic_.OnInitDialog();
}

}  // namespace plexo::qt
