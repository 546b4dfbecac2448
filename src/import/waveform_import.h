#pragma once
// Brings waveform exports of other acquisition programs into the program's own nine-line
// layout: one file written per input into a target folder, by the program's waveform writer,
// so that every calculation reads the result exactly.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "import/export_reader.h"
#include "platform/host.h"
#include "signal/waveform_database.h"

namespace plexo {

struct ImportRequest {
  std::vector<std::string> inputs;  // files, or folders whose .txt, .csv and .tradb files are taken
  std::string target;               // made when missing
  ImportOptions options;
  bool force = false;         // replace files that already exist in the target
  RecordSelection selection;  // the records taken from a waveform database
};

struct ImportSummary {
  int files = 0;        // files and database records looked at
  int imported = 0;     // files written
  int refused = 0;      // files not recognised, not readable, or whose output is not allowed
  int notReplaced = 0;  // of the refused: the output exists already and force is off
  int failed = 0;       // outputs that could not be written
  std::vector<std::string> written;  // the paths of the files written, in order
};

// One line per event ("name: twelve-line CSV export", "name: warning: ...").
using ImportLog = std::function<void(std::string_view line)>;

// The files an input names: the file itself, or the regular files of a folder whose names end
// in ".txt", ".csv" or ".tradb" in any letter case, sorted by name byte-wise (subfolders skipped).
std::vector<std::string> ExportFilesOf(const std::string& input);

// The kind of a file from its first lines; kUnknown when it cannot be read.
ExportKind RecogniseExportFile(const std::string& path);

// The name an input gets in the target: its file name without the extension, + ".txt".
std::string ImportedName(const std::string& input);

// Imports every file of the request, in order, advancing `progress` after each file and
// stopping between files when asked. Nothing is written when the request itself is refused
// (an input that does not exist, a target that is the folder of a folder input or cannot be
// made); a file that is refused leaves the others to go on. Done only when every file was
// written; refused when any file was refused; failed when any output could not be written.
// The line naming what a file was recognised as goes to `imported` when given (the command line
// prints it with its results), else to `log` with the others.
CalcStatus ImportWaveforms(const ImportRequest& request, CalcProgress& progress,
                           const ImportLog& log, ImportSummary& summary,
                           const ImportLog& imported = {});

}  // namespace plexo
