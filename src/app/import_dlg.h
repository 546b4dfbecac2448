#pragma once
// The logic of the "Import waveforms" dialog, without a toolkit: the source and target folders
// are picked first, the dialog asks for the sample interval only when the source holds
// headerless files, and the import runs through the dialog's runner with its progress bar.
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "app/import_controls.h"
#include "import/waveform_import.h"
#include "platform/calc_runner.h"
#include "platform/controls.h"
#include "platform/dialog_progress.h"
#include "platform/host.h"

namespace plexo {

struct ImportFolders {
  std::string source;
  std::string target;
};

inline constexpr std::string_view kImportSourceTitle = "Folder of the files to import";
inline constexpr std::string_view kImportTargetTitle = "Folder to write the waveform files into";

// Asks for the source folder, then the target folder, each picker titled for what it picks;
// nothing when either is cancelled.
std::optional<ImportFolders> AskImportFolders(Host& host);

inline constexpr std::string_view kImportDtMessage =
    "Please enter the sample interval of the headerless files in seconds.";

class CImportDlg {
 public:
  CImportDlg(Controls& controls, Host& host, CalcRunner& runner, ImportFolders folders);

  void OnInitDialog();
  void OnClicked(ControlId id);
  // The window is asked to close: a running import is asked to stop and the dialog closes once
  // it has; false keeps the window open meanwhile.
  bool OnClose();

  bool Running() const { return running_; }
  int HeaderlessFiles() const { return headerless_; }

 private:
  void Start();
  void Finished(CalcStatus status);

  Controls& controls_;
  Host& host_;
  CalcRunner& runner_;
  ImportFolders folders_;
  int files_ = 0;
  int headerless_ = 0;
  bool running_ = false;
  std::atomic<int> stopRequested_{0};
  DialogProgress progress_{controls_, kIdcImportProgress, stopRequested_};
  // Written by the running import only, read when it has ended.
  std::vector<std::string> log_;
  ImportSummary summary_;
};

}  // namespace plexo
