#pragma once
// The file-system services the calculations use.
#include <string>
#include <vector>

namespace plexo {

// The regular files of `folder` whose names end in ".txt" in any letter case, as full paths
// (folder + "/" + name), sorted by name byte-wise so that every run sees the same order.
// Subfolders are skipped. Empty when the folder cannot be read.
std::vector<std::string> ListTxtFiles(const std::string& folder);

// folder + "/" + name, without doubling a trailing "/".
std::string JoinPath(const std::string& folder, const std::string& name);

// Creates the folder if it does not exist. False when it neither exists nor could be made.
bool MakeDirectory(const std::string& path);

bool IsDirectory(const std::string& path);
bool IsRegularFile(const std::string& path);

// Why `path` cannot be read as a regular file, in words for a message ("No such file or
// directory", "not a regular file", "Permission denied", ...); empty when it can. Never opens a
// named pipe or a device.
std::string WhyNotReadable(const std::string& path);

// The folder that holds the running executable.
std::string ExecutableDirectory();

// Names derived from a single-file input: the path without its extension (everything before
// the last "." of the file name) and the extension from that "." on, in lower case.
std::string PathWithoutExtension(const std::string& path);
std::string LowerCaseExtension(const std::string& path);

}  // namespace plexo
