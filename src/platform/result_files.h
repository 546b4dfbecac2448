#pragma once
// The files of one result (tables, preview images, side files) written as complete temporary
// files and put in place together: a failed or stopped run replaces none of them, so a table is
// never left beside the preview of another run.
//
// Commit first finishes every file; only when all are complete does it give them their names,
// with SIGINT, SIGTERM and SIGHUP held back until the last one is in place. A kill -9 in that
// short step can still split the set (it cannot be held back).
#include <deque>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/text_file.h"

namespace plexo {

class ResultFiles {
 public:
  ResultFiles() = default;
  ResultFiles(const ResultFiles&) = delete;
  ResultFiles& operator=(const ResultFiles&) = delete;
  // Files not committed are discarded; the targets keep what they held.

  // Starts a file of the result. The writer stays valid as long as this object; different
  // writers may be written on different threads, but files are added on one.
  TextFileWriter& Add(const std::string& path, bool translate_newlines = true);
  // The writer of a file added before, or null.
  TextFileWriter* Find(const std::string& path);

  // Puts every file in place when all are complete; else none, and Error() names the first
  // that failed with the reason.
  bool Commit();
  const std::string& Error() const { return error_; }
  // The paths of the files, in the order they were added.
  std::vector<std::string> Paths() const;

 private:
  std::deque<TextFileWriter> files_;
  std::string error_;
};

// Where a file is read before its result is committed: the staged bytes when `files` holds a
// file of that path, else the path itself.
std::string StagedOrOwnPath(const std::string& path, ResultFiles* files);

// For a file whose contents could not be made (an image of no pixels): prints "File open NOT
// succesfull", tells the user the file could not be written and returns kFailed; its result
// is then to be dropped.
CalcStatus ReportIncomplete(const std::string& path, Host& host);

// Commits the result; on failure prints "File open NOT succesfull" to standard error, as the
// file routines do, and tells the user which file could not be written and why. On success the
// host hears which files were put in place (Host::ResultWritten).
bool CommitResult(ResultFiles& files, Host& host);

}  // namespace plexo
