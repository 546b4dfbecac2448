#pragma once
// Several files for one command (`plexo fft a.txt b.txt ...`): each file is a calculation of its
// own, run on worker threads, and reported in file order as soon as it and the files before it
// are done. One file's failure does not stop the others.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/host.h"

namespace plexo::cli {

// One file's calculation on worker `worker` (0 .. workers-1; a worker runs one file at a time,
// so it can keep a workspace per worker). The host it is handed keeps the file's messages for
// its report and shows images through the batch's host, one at a time, on the calling thread.
using FileCalculation =
    std::function<CalcStatus(size_t worker, const std::string& file, Host& host)>;
// Called on the calling thread, in file order, for every file that was done.
using DoneReport = std::function<void(const std::string& file)>;

struct FileBatchResult {
  std::vector<CalcStatus> statuses;  // per file, in file order
  bool AllDone() const;
  // 0 when every file was done, else the exit status of the first file that was not.
  int ExitCode() const;
};

// The number of worker threads for `files` files and a --jobs value (0: every core).
size_t FileBatchWorkers(size_t files, int jobs);

// Runs `calculate` for every file on FileBatchWorkers(files.size(), jobs) threads. Messages of a
// file that was not done go to `host` as "FILE: message"; `progress` gets the range 0 .. file
// count and the number of files reported so far.
FileBatchResult RunFileBatch(const std::vector<std::string>& files, int jobs, Host& host,
                             CalcProgress& progress, const FileCalculation& calculate,
                             const DoneReport& report_done);

}  // namespace plexo::cli
