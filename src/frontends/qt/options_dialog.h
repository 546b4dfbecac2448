#pragma once
// The Options dialog on the desktop, around the toolkit-free COptionsDlg.
#include <string>

#include "app/options_dlg.h"
#include "frontends/qt/dialog_window.h"

namespace plexo::qt {

class OptionsDialog : public DialogWindow<COptionsDlg> {
 public:
  // `host` defaults to the desktop's own; tests pass a recording one.
  OptionsDialog(QWidget* parent, CalcMode mode, Calculations& calculations,
                const std::string& setupPath, Host* host = nullptr);
  ~OptionsDialog();

  // Runs the dialog modally; returns its result.
  int Exec();

 private:
  bool destroyed_ = false;
};

}  // namespace plexo::qt
