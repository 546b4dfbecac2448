#include "platform/result_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

#include "platform/host.h"
#include "platform/interrupt_cleanup.h"

namespace plexo {

TextFileWriter& ResultFiles::Add(const std::string& path, bool translate_newlines) {
  return files_.emplace_back(path, translate_newlines);
}

TextFileWriter* ResultFiles::Find(const std::string& path) {
  for (TextFileWriter& file : files_) {
    if (file.Path() == path) return &file;
  }
  return nullptr;
}

bool ResultFiles::Commit() {
  for (TextFileWriter& file : files_) {
    if (!file.Finish()) {
      error_ = file.Error();
      return false;
    }
  }
  // A folder where a file should go would refuse the rename after others were placed.
  for (TextFileWriter& file : files_) {
    struct stat info;
    if (lstat(file.Path().c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      error_ = FileNotWrittenMessage(file.Path(),
                                     std::error_code(EISDIR, std::generic_category()).message());
      return false;
    }
  }
  const InterruptsDeferred deferred;
  // Every file of several first gets a temporary name (none takes its target's name early), then
  // all are renamed in one quick run: the moment a kill -9 could split the set is that run.
  const bool direct = files_.size() == 1;
  for (size_t i = 0; i < files_.size(); ++i) {
    if (!files_[i].Prepare(direct)) {
      error_ = files_[i].Error();
      for (size_t j = 0; j < i; ++j) files_[j].Withdraw();
      return false;
    }
  }
  // The earlier files are held (O_PATH: nothing is opened for reading) until all renames are
  // done: a rename that drops the last link of a large file would otherwise wait while the file
  // system frees its blocks, and stretch that moment.
  std::vector<int> earlier;
  earlier.reserve(files_.size());
  for (TextFileWriter& file : files_) {
    const int fd = ::open(file.Path().c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) earlier.push_back(fd);
  }
  // Renames within one folder of names just prepared: nothing but a vanished folder fails here.
  bool placed = true;
  for (TextFileWriter& file : files_) {
    if (!file.Place() && placed) {
      error_ = file.Error();
      placed = false;
    }
  }
  for (int fd : earlier) ::close(fd);
  return placed;
}

std::string StagedOrOwnPath(const std::string& path, ResultFiles* files) {
  TextFileWriter* staged = files != nullptr ? files->Find(path) : nullptr;
  if (staged == nullptr || !staged->Finish()) return path;
  return staged->ReadPath();
}

CalcStatus ReportIncomplete(const std::string& path, Host& host) {
  ReportFileError();
  host.MessageBox(FileNotWrittenMessage(path));
  return CalcStatus::kFailed;
}

std::vector<std::string> ResultFiles::Paths() const {
  std::vector<std::string> paths;
  for (const TextFileWriter& file : files_) paths.push_back(file.Path());
  return paths;
}

bool CommitResult(ResultFiles& files, Host& host) {
  if (files.Commit()) {
    host.ResultWritten(files.Paths());
    return true;
  }
  ReportFileError();
  host.MessageBox(files.Error());
  return false;
}

}  // namespace plexo
