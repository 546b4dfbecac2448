#include "frontends/cli/input_paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "frontends/cli/exit_status.h"
#include "platform/file_system.h"
#include "signal/waveform_database.h"

namespace plexo::cli {

std::optional<int> RefuseInputFolder(const std::string& folder, bool report) {
  struct stat info {};
  std::string why;
  ExitCode code = ExitCode::kFileError;
  if (stat(folder.c_str(), &info) != 0) {
    why = folder + ": " + std::strerror(errno);
  } else if (S_ISREG(info.st_mode)) {
    why = folder + " is a file, not a folder: give the folder that holds the waveform files";
    code = ExitCode::kRefused;
  } else if (!S_ISDIR(info.st_mode)) {
    why = folder + ": not a folder";
    code = ExitCode::kRefused;
  } else if (DIR* listing = opendir(folder.c_str()); listing == nullptr) {
    why = FolderNotListedMessage(folder, std::strerror(errno));
  } else {
    closedir(listing);
    return std::nullopt;
  }
  if (report) std::cerr << why << std::endl;
  return ExitStatus(code);
}

std::optional<int> RefuseBatchInput(const std::string& input, bool report) {
  if (!IsWaveformDatabasePath(input)) return RefuseInputFolder(input, report);
  struct stat info {};
  std::string why;
  ExitCode code = ExitCode::kFileError;
  if (stat(input.c_str(), &info) != 0) {
    why = input + ": " + std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    why = input + " is not a file: give the waveform database (.tradb) itself";
    code = ExitCode::kRefused;
  } else if (std::string reason = WhyNotReadable(input); !reason.empty()) {
    why = input + ": " + reason;
  } else {
    return std::nullopt;
  }
  if (report) std::cerr << why << std::endl;
  return ExitStatus(code);
}

const char* BatchInputItems(const std::string& input) {
  return IsWaveformDatabasePath(input) ? "waveform records" : "waveform files";
}

std::optional<int> RefuseInputFile(const std::string& file) {
  struct stat info {};
  if (stat(file.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    std::cerr << file
              << (S_ISDIR(info.st_mode) ? " is a folder, not a file" : ": not a regular file")
              << std::endl;
    return ExitStatus(ExitCode::kRefused);
  }
  if (const std::string why = WhyNotReadable(file); !why.empty()) {
    std::cerr << file << ": " << why << std::endl;
    return ExitStatus(ExitCode::kFileError);
  }
  return std::nullopt;
}

std::vector<std::string> ReadableFiles(const std::vector<std::string>& files, int& status) {
  std::vector<std::string> readable;
  for (const std::string& file : files) {
    if (const std::optional<int> refused = RefuseInputFile(file)) {
      if (status == 0) status = *refused;
    } else {
      readable.push_back(file);
    }
  }
  return readable;
}

}  // namespace plexo::cli
