#pragma once
// The checks every command makes on the paths it is given before it computes anything, so that
// a path that cannot be used gets one message naming it, with the same words and exit status in
// every command: a path that does not exist or cannot be read or listed ("hit.txt: No such file
// or directory", status 2); a path of the wrong kind (a file where a folder is wanted, a folder,
// pipe or device where a file is) is refused (status 1).
#include <optional>
#include <string>
#include <vector>

namespace plexo::cli {

// Nothing when `folder` is a folder that can be listed; else the exit status, after the message
// (printed only when `report`: under an MPI launch only the first rank talks).
std::optional<int> RefuseInputFolder(const std::string& folder, bool report = true);

// The input of a batch over waveforms (features, avg-fft, avg-tft): a waveform database
// (IsWaveformDatabasePath), which must be a regular file that can be read, or else a folder as
// RefuseInputFolder wants it.
std::optional<int> RefuseBatchInput(const std::string& input, bool report = true);
// "waveform records" for a database, "waveform files" for a folder: what closing lines count.
const char* BatchInputItems(const std::string& input);

// Nothing when `file` is a regular file that can be opened for reading; else the exit status,
// after the message.
std::optional<int> RefuseInputFile(const std::string& file);

// The files of `files` that can be read, in their order; each other one is named with its
// reason, and `status`, when it is 0, is set to the exit status of the first of them.
std::vector<std::string> ReadableFiles(const std::vector<std::string>& files, int& status);

}  // namespace plexo::cli
