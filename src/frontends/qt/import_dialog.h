#pragma once
// The "Import waveforms" dialog on the desktop, around the toolkit-free CImportDlg.
#include "app/import_dlg.h"
#include "frontends/qt/dialog_window.h"

namespace plexo::qt {

class ImportDialog : public DialogWindow<CImportDlg> {
 public:
  ImportDialog(QWidget* parent, ImportFolders folders, Host& host);

  // Runs the dialog modally; returns its result.
  int Exec() { return view_.exec(); }
};

}  // namespace plexo::qt
