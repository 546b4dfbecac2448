#include "app/import_dlg.h"

#include <cmath>

#include "app/import_controls.h"
#include "import/export_text.h"

namespace plexo {

namespace {

// The message box lists this many lines of the run at most.
constexpr size_t kShownLogLines = 20;

// "name: twelve-line CSV export, 1024 samples": the routine line of a file that was imported.
bool IsKindLine(const std::string& line) {
  for (ExportKind kind : {ExportKind::kNineLine, ExportKind::kCsvExport, ExportKind::kHeaderless,
                          ExportKind::kDatabaseRecord})
    if (line.find(": " + std::string(ExportKindName(kind)) + ", ") != std::string::npos)
      return true;
  return false;
}

}  // namespace

std::optional<ImportFolders> AskImportFolders(Host& host) {
  std::optional<std::string> source = host.PickFolder(kImportSourceTitle);
  if (!source) return std::nullopt;
  std::optional<std::string> target = host.PickFolder(kImportTargetTitle);
  if (!target) return std::nullopt;
  return ImportFolders{*source, *target};
}

CImportDlg::CImportDlg(Controls& controls, Host& host, CalcRunner& runner, ImportFolders folders)
    : controls_(controls), host_(host), runner_(runner), folders_(std::move(folders)) {}

void CImportDlg::OnInitDialog() {
  controls_.SetText(kIdcImportSource, folders_.source);
  controls_.SetText(kIdcImportTarget, folders_.target);
  const std::vector<std::string> files = ExportFilesOf(folders_.source);
  files_ = static_cast<int>(files.size());
  headerless_ = 0;
  int databases = 0;
  for (const std::string& file : files) {
    if (IsWaveformDatabasePath(file))
      ++databases;
    else if (RecogniseExportFile(file) == ExportKind::kHeaderless)
      ++headerless_;
  }
  std::string count = std::to_string(files_ - databases) + " .txt and .csv files";
  if (headerless_ > 0) count += ", " + std::to_string(headerless_) + " of them headerless";
  if (databases > 0)
    count += " and " + std::to_string(databases) +
             (databases == 1 ? " waveform database" : " waveform databases");
  controls_.SetText(kIdcImportFiles, count);
  controls_.Enable(kIdcImportDtLabel, headerless_ > 0);
  controls_.Enable(kIdcImportDt, headerless_ > 0);
  controls_.Enable(kIdcImportStart, files_ > 0);
}

void CImportDlg::OnClicked(ControlId id) {
  if (id == kIdcImportStart) {
    if (!running_) Start();
  } else if (id == kIdCancel) {
    if (OnClose()) controls_.EndDialog(kIdCancel);
  }
}

bool CImportDlg::OnClose() {
  if (!running_) return true;
  stopRequested_ = 1;
  return false;
}

void CImportDlg::Start() {
  ImportRequest request;
  request.inputs = {folders_.source};
  request.target = folders_.target;
  request.force = controls_.IsChecked(kIdcImportReplace);
  if (headerless_ > 0) {
    const std::optional<double> dt = ParseNumberField(controls_.Text(kIdcImportDt));
    if (!dt || !std::isfinite(*dt) || *dt <= 0.0) {
      host_.MessageBox(kImportDtMessage);
      return;
    }
    request.options.sampleInterval = *dt;
  }
  running_ = true;
  stopRequested_ = 0;
  log_.clear();
  controls_.Enable(kIdcImportStart, false);
  runner_.Start(
      [this, request] {
        return ImportWaveforms(
            request, progress_, [this](std::string_view line) { log_.emplace_back(line); },
            summary_);
      },
      [this](CalcStatus status) { Finished(status); });
}

void CImportDlg::Finished(CalcStatus status) {
  running_ = false;
  controls_.Enable(kIdcImportStart, true);
  if (!summary_.written.empty()) host_.ResultWritten(summary_.written);
  std::string message;
  if (status == CalcStatus::kStopped) message = "Stopped. ";
  message += "Imported " + std::to_string(summary_.imported) + " of " +
             std::to_string(summary_.files) + " files into " + folders_.target + ".";
  size_t shown = 0;
  for (const std::string& line : log_) {
    // The kinds recognised are routine; what went wrong or needs attention is listed.
    if (IsKindLine(line)) continue;
    if (shown++ == kShownLogLines) {
      message += "\n...";
      break;
    }
    message += "\n" + line;
  }
  // A clean import is news, not a warning; a stop, a refusal or a file named in the log is.
  const bool clean = status == CalcStatus::kDone && shown == 0;
  if (clean) {
    host_.Inform(message);
  } else {
    host_.MessageBox(message);
  }
  if (status == CalcStatus::kDone || stopRequested_) controls_.EndDialog(kIdOk);
}

}  // namespace plexo
