#include "frontends/qt/about_dlg.h"

#include "app/about_box.h"

namespace plexo::qt {

CAboutDlg::CAboutDlg(QWidget* parent) : DialogView(AboutDialogTemplate(), parent) {
  onClicked = [this](ControlId id) {
    if (id == kIdOk) accept();
  };
}

}  // namespace plexo::qt
