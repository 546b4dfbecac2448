#pragma once
// The file-system services the calculations use.
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace plexo {

// The regular files of `folder` whose names end in ".txt" in any letter case, as full paths
// (folder + "/" + name), sorted by name byte-wise so that every run sees the same order.
// Subfolders are skipped. Empty when the folder cannot be read.
std::vector<std::string> ListTxtFiles(const std::string& folder);
// The same, telling a folder that cannot be listed from an empty one: false, with `why` set to
// the system's reason ("Permission denied", an I/O error while reading the entries), when the
// folder cannot be opened or read to its end; `files` is then empty.
bool ListTxtFiles(const std::string& folder, std::vector<std::string>& files, std::string& why);
// "Folder FOLDER cannot be listed: WHY!", the one message for such a folder.
std::string FolderNotListedMessage(const std::string& folder, const std::string& why);

// folder + "/" + name, without doubling a trailing "/".
std::string JoinPath(const std::string& folder, const std::string& name);

// The file name of a path: what follows its last "/"; the whole path when it has none, empty
// when it ends in "/".
std::string FileName(const std::string& path);
// The folder of a path: what precedes its last "/"; "/" for a name right under the root, "."
// when the path has no "/". A trailing "/" ends the folder: "a/b/" gives "a/b".
std::string ParentFolder(const std::string& path);

// Creates the folder if it does not exist. False when it neither exists nor could be made, with
// `why` (when given) set to the system's reason for the mkdir ("Permission denied", ...).
bool MakeDirectory(const std::string& path, std::string* why = nullptr);
// "Folder FOLDER cannot be created: WHY!", the one message for a result folder not made.
std::string FolderNotCreatedMessage(const std::string& folder, const std::string& why);

bool IsDirectory(const std::string& path);
bool IsRegularFile(const std::string& path);

// Opens `path` for reading when it is a regular file; every reader of outside files opens them
// here. The open does not block (a named pipe without a writer, or a device, would hang a plain
// open for ever) and the kind is checked on the open descriptor, so nothing can be swapped in
// between a check and the open. Returns the descriptor (O_NONBLOCK, which changes nothing for a
// regular file), or -1 with `why` (when given) set to the reason in words ("No such file or
// directory", "not a regular file", "Permission denied", ...).
int OpenRegularFile(const std::string& path, std::string* why = nullptr);

// The same as a stdio stream opened "rb"; nullptr on failure.
std::FILE* OpenRegularFileStream(const std::string& path, std::string* why = nullptr);

enum class RegularFileRead { kRead, kUnreadable, kTooLarge };

// Reads the whole regular file into `text`. kTooLarge, with nothing read, when it holds more
// than `maxBytes` bytes; kUnreadable with `why` set when it cannot be opened or read.
RegularFileRead ReadRegularFile(const std::string& path, std::string& text, size_t maxBytes,
                                std::string* why = nullptr);

// Why `path` cannot be read as a regular file, in words for a message (as OpenRegularFile says
// it); empty when it can. Never blocks on a named pipe or a device.
std::string WhyNotReadable(const std::string& path);

// The folder that holds the running executable.
std::string ExecutableDirectory();

// Names derived from a single-file input: the path without its extension (everything before
// the last "." of the file name) and the extension from that "." on, in lower case.
std::string PathWithoutExtension(const std::string& path);
std::string LowerCaseExtension(const std::string& path);

}  // namespace plexo
