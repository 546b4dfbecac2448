#include "ascii_ops/operator_folder.h"

#include "ascii_ops/collection_operators.h"
#include "platform/file_system.h"
#include "signal/number_text.h"

namespace plexo {

bool ListOperatorFiles(const std::string& folder, Host& host, std::vector<std::string>& files) {
  files.clear();
  std::string why;
  if (IsDirectory(folder) && !ListTxtFiles(folder, files, why)) {
    host.MessageBox(FolderNotListedMessage(folder, why));
    return false;
  }
  if (!files.empty()) return true;
  host.MessageBox(std::string(kNoFilesMessage) + "\n" + folder);
  return false;
}

bool StartOperatorRun(AsciiWorkspace& ws, const std::string& folder, Host& host,
                      std::vector<std::string>& files) {
  ws.written.clear();
  ws.skipped.clear();
  ws.notes.clear();
  return ListOperatorFiles(folder, host, files);
}

std::string OperatorReadProblem(const std::string& path, int count, const std::string& problem) {
  if (!problem.empty()) return problem;
  if (count > 0) return {};
  if (count == -1) {
    const std::string why = WhyNotReadable(path);
    if (!why.empty()) return path + ": " + why + "!";
  }
  return path + ": no data present in file (no sample line)!";
}

bool SkipFile(AsciiWorkspace& ws, Host& host, const std::string& why) {
  if (ws.strict) {
    host.MessageBox(why);
    return false;
  }
  ws.skipped.push_back(why);
  return true;
}

namespace {

std::string Listed(const std::string& title, const std::vector<std::string>& lines) {
  std::string text = title;
  for (const std::string& line : lines) text += "\n" + line;
  return text;
}

}  // namespace

void ReportSkippedAndNotes(const AsciiWorkspace& ws, Host& host) {
  if (!ws.skipped.empty())
    host.MessageBox(Listed("Skipped " + FormatD(static_cast<long long>(ws.skipped.size())) +
                               (ws.skipped.size() == 1 ? " file:" : " files:"),
                           ws.skipped));
  if (!ws.notes.empty()) host.MessageBox(Listed("Note:", ws.notes));
}

}  // namespace plexo
