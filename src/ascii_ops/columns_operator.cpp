// Columns: every waveform of a folder as one tab-separated column of a single table.
#include <algorithm>
#include <vector>

#include "ascii_ops/collection_operators.h"
#include "ascii_ops/operator_folder.h"
#include "platform/file_system.h"
#include "signal/number_text.h"
#include "signal/waveform.h"

namespace plexo {
namespace {

constexpr int kHeaderLines = 20;
constexpr int kTableLines = kHeaderLines + kMaxColumnsSamples;  // 16384

// The line table with the number of cells each line holds so far: file j's cell goes into
// column j even when earlier files left the line short.
class LineTable {
 public:
  explicit LineTable(std::vector<std::string>& lines) : lines_(lines) {
    lines_.assign(kTableLines, std::string());
    cells_.assign(kTableLines, 0);
  }

  void Put(int line, int column, std::string_view text) {
    std::string& out = lines_[static_cast<size_t>(line)];
    int& cells = cells_[static_cast<size_t>(line)];
    // An empty line stands for one empty cell; each missing cell adds one separator.
    if (column > 0) out.append(static_cast<size_t>(column - std::max(cells, 1) + 1), '\t');
    out += text;
    cells = column + 1;
  }

 private:
  std::vector<std::string>& lines_;
  std::vector<int> cells_;
};

std::string ColumnsSizeMessage(int count) {
  if (count >= MAX_SAMPLES) return SamplingSizeMessage(count);
  return "Sampling size of " + FormatD(count) + " exceeds program limit of " +
         FormatD(kMaxColumnsSamples) + "!";
}

}  // namespace

std::string ColumnsPath(const std::string& folder) {
  return JoinPath(ConvDataFolder(folder), "Column_ASCII_waveforms.txt");
}

CalcStatus Columns(AsciiWorkspace& ws, const std::string& folder, CalcProgress& progress,
                   Host& host) {
  std::vector<std::string> files;
  if (!StartOperatorRun(ws, folder, host, files)) return CalcStatus::kRefused;
  MakeDirectory(ConvDataFolder(folder));  // a failure shows when the table is written
  const int n = static_cast<int>(files.size());
  progress.SetRange(0, n);

  LineTable table(ws.lines);
  int next_column = 0;  // skipped files leave no column
  int longest = -1;     // the table is as long as its longest column
  for (int j = 0; j < n; ++j) {
    if (progress.StopRequested()) return CalcStatus::kStopped;
    double dt = 0.0;
    double t = 0.0;
    int channel = 0;
    std::string problem;
    const int c = ReadAsciiWaveform(files[j], ws.samples, dt, t, channel, &problem);
    if (c > kMaxColumnsSamples) {
      host.MessageBox(ColumnsSizeMessage(c) + "\n" + files[j]);
      return CalcStatus::kRefused;
    }
    // An unreadable or empty file would give a count of -1 or -9 and a rate of inf.
    std::string why = OperatorReadProblem(files[j], c, problem);
    if (why.empty() && !(dt > 0.0))
      why = files[j] + ": no positive sample interval (\"SAMPLE INTERVAL\" line)!";
    if (!why.empty()) {
      if (!SkipFile(ws, host, why)) return CalcStatus::kRefused;
      progress.SetPos(j + 1);
      continue;
    }
    const int column = next_column++;
    table.Put(0, column, FormatD(channel));
    table.Put(1, column, FormatE(t));
    table.Put(2, column, FormatE(1.0 / dt / 1000.0));  // sampling rate in kHz
    for (int line = 3; line <= 18; ++line) table.Put(line, column, "0");
    table.Put(19, column, FormatD(c));
    // Sample 0 is not written.
    for (int i = 1; i < c; ++i) table.Put(kHeaderLines - 1 + i, column, FormatE(ws.samples[i]));
    longest = std::max(longest, c);
    progress.SetPos(j + 1);
  }

  ReportSkippedAndNotes(ws, host);
  if (next_column == 0) {
    host.MessageBox("No waveform file in " + folder + " could be read: nothing written.");
    return CalcStatus::kRefused;
  }
  const std::string path = ColumnsPath(folder);
  if (std::string error; !WriteLines(path, ws.lines, longest, &error)) {
    host.MessageBox(error);
    return CalcStatus::kFailed;
  }
  ws.written.push_back(path);
  return CalcStatus::kDone;
}

}  // namespace plexo
