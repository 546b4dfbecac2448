#pragma once
// The "Import waveforms" dialog on the desktop: the control table's widgets and a worker thread
// around the toolkit-free CImportDlg.
#include "app/import_dlg.h"
#include "frontends/qt/dialog_view.h"
#include "frontends/qt/worker_runner.h"

namespace plexo::qt {

class ImportDialog {
 public:
  ImportDialog(QWidget* parent, ImportFolders folders, Host& host);

  // Runs the dialog modally; returns its result.
  int Exec() { return view_.exec(); }

  DialogView& View() { return view_; }
  CImportDlg& Logic() { return logic_; }

 private:
  DialogView view_;
  WorkerRunner runner_;
  CImportDlg logic_;
};

}  // namespace plexo::qt
