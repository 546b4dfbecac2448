// Split: every column of a delimited table as a waveform file of its own.
#include <algorithm>
#include <set>
#include <vector>

#include "ascii_ops/collection_operators.h"
#include "ascii_ops/operator_folder.h"
#include "platform/file_system.h"
#include "platform/result_files.h"
#include "signal/number_text.h"

namespace plexo {

std::string TableSizeMessage(int lines, int fields) {
  return "Table size of " + FormatD(lines) + " lines and " + FormatD(fields) +
         " fields exceeds program limit of " + FormatD(kMaxTableLines) + " lines and " +
         FormatD(kMaxTableFields) + " fields!";
}

CalcStatus Split(AsciiWorkspace& ws, const std::string& folder, CalcProgress& progress,
                 Host& host) {
  std::vector<std::string> files;
  if (!StartOperatorRun(ws, folder, host, files)) return CalcStatus::kRefused;
  MakeDirectory(ConvDataFolder(folder));  // a failure shows when the files are written
  const int n = static_cast<int>(files.size());
  progress.SetRange(0, n);

  bool write_failed = false;
  std::vector<double> samples;
  std::set<std::string> names;  // a.x.txt and a.y.txt would both write a_1.txt
  for (int p = 0; p < n; ++p) {
    if (progress.StopRequested()) return CalcStatus::kStopped;
    const std::string file_name = FileName(files[p]);
    const std::string name = file_name.substr(0, file_name.find('.'));
    int lines = ReadColumnTable(files[p], ws.table);
    if (lines > kMaxTableLines || ws.table.widestLine > kMaxTableFields) {
      host.MessageBox(TableSizeMessage(lines, ws.table.widestLine) + "\n" + files[p]);
      return CalcStatus::kRefused;
    }
    std::string why;
    if (lines < 0) {
      why = ws.table.problem.empty() ? files[p] + ": " + WhyNotReadable(files[p]) + "!"
                                     : ws.table.problem;
    } else if (!(ws.table.sampleInterval > 0.0)) {
      why = files[p] + ": the times of lines 1 and 2 give no positive sample interval (" +
            FormatE(ws.table.sampleInterval) + ")!";
    } else if (!names.insert(name).second) {
      why = files[p] + ": its waveforms would replace those of an earlier table named " + name +
            "...!";
    }
    if (!why.empty()) {
      if (!SkipFile(ws, host, why)) return CalcStatus::kRefused;
      progress.SetPos(p + 1);
      continue;
    }
    // A last line shorter than the one before it (a table cut off while written) is left out.
    if (lines >= 2 && ws.table.lastLineFields < ws.table.previousLineFields) {
      ws.notes.push_back(files[p] + ": line " + FormatD(lines) + " holds fewer fields than line " +
                         FormatD(lines - 1) + " and is left out.");
      --lines;
      ws.table.columnCount = ws.table.previousLineFields - 1;
    }
    // Field c + 1 of every line is channel c + 1. The waveforms of one table are one result:
    // they replace the earlier ones together or not at all.
    ResultFiles result;
    std::vector<std::string> paths;
    for (int c = 0; c < ws.table.columnCount; ++c) {
      samples.assign(static_cast<size_t>(std::max(lines, 0)), 0.0);
      for (int i = 0; i < lines; ++i) samples[static_cast<size_t>(i)] = ws.table.Value(i, c + 1);
      paths.push_back(JoinPath(ConvDataFolder(folder), name + "_" + FormatD(c + 1) + ".txt"));
      WriteSplitWaveform(result.Add(paths.back()), samples.data(), lines, c + 1, 0.0,
                         ws.table.sampleInterval, "default", "default", "0");
    }
    if (result.Commit()) {
      ws.written.insert(ws.written.end(), paths.begin(), paths.end());
    } else {
      ReportFileError();
      // Once, not for every table: a full disk would otherwise ask for a click per table.
      if (!write_failed) host.MessageBox(result.Error());
      write_failed = true;
    }
    progress.SetPos(p + 1);
  }
  ReportSkippedAndNotes(ws, host);
  return write_failed ? CalcStatus::kFailed : CalcStatus::kDone;
}

}  // namespace plexo
