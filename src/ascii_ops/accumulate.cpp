// Accumulate: the time of test of every waveform of a folder, one row per file.
#include <vector>

#include "ascii_ops/collection_operators.h"
#include "ascii_ops/operator_folder.h"
#include "platform/file_system.h"

namespace plexo {

std::string AccumulatePath(const std::string& folder) {
  return JoinPath(ConvDataFolder(folder), "Accumulated_waveforms.txt");
}

CalcStatus Accumulate(AsciiWorkspace& ws, const std::string& folder, CalcProgress& progress,
                      Host& host) {
  std::vector<std::string> files;
  if (!StartOperatorRun(ws, folder, host, files)) return CalcStatus::kRefused;
  const int n = static_cast<int>(files.size());
  progress.SetRange(0, n);

  // Rows follow the folder order; a file that cannot be read or holds no positive time of test
  // (0 < t < 1e100) has no row.
  std::vector<double> times;
  times.reserve(files.size());
  for (int j = 0; j < n; ++j) {
    if (progress.StopRequested()) return CalcStatus::kStopped;
    double interval = 0.0;
    double time = 0.0;  // a file without a time of test does not inherit the previous one
    int channel = 0;
    std::string problem;
    const int count = ReadAsciiWaveform(files[j], ws.samples, interval, time, channel, &problem);
    // Only the header matters here: a file of nine header lines and no sample is fine.
    if (count < 0) {
      if (!SkipFile(ws, host, OperatorReadProblem(files[j], count, problem)))
        return CalcStatus::kRefused;
    } else if (time > 0.0 && time < 1e100) {
      times.push_back(time);
    }
    progress.SetPos(j + 1);
  }

  ReportSkippedAndNotes(ws, host);
  if (times.empty()) {
    host.MessageBox("No waveform file in " + folder +
                    " has a positive \"TIME OF TEST\": nothing written.");
    return CalcStatus::kRefused;
  }
  LinkTable table(static_cast<int>(times.size()));
  for (int i = 0; i < table.Rows(); ++i) {
    table.At(i, 0) = i + 1;
    table.At(i, 1) = times[static_cast<size_t>(i)];
  }
  MakeDirectory(ConvDataFolder(folder));  // a failure shows when the table is written
  const std::string path = AccumulatePath(folder);
  if (std::string error; !WriteTable(path, table, table.Rows() + 1, 1, &error)) {
    host.MessageBox(error);
    return CalcStatus::kFailed;
  }
  ws.written.push_back(path);
  return CalcStatus::kDone;
}

}  // namespace plexo
