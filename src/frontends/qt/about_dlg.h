#pragma once
// The About box.
#include "frontends/qt/dialog_view.h"

namespace plexo::qt {

class CAboutDlg : public DialogView {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace plexo::qt
