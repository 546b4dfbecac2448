#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>

namespace plexo {

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string FileName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ParentFolder(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool IsDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool ListTxtFiles(const std::string& folder, std::vector<std::string>& files, std::string& why) {
  files.clear();
  why.clear();
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) {
    why = std::strerror(errno);
    return false;
  }
  std::vector<std::string> names;
  for (;;) {
    errno = 0;  // readdir says "no more entries" and "error" both by nullptr; errno tells them
    dirent* entry = readdir(dir);
    if (entry == nullptr) {
      if (errno != 0) why = std::strerror(errno);
      break;
    }
    std::string name = entry->d_name;
    if (name.size() < 4) continue;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext != ".txt") continue;
    if (!IsRegularFile(JoinPath(folder, name))) continue;
    names.push_back(std::move(name));
  }
  closedir(dir);
  if (!why.empty()) return false;
  std::sort(names.begin(), names.end());
  for (auto& name : names) name = JoinPath(folder, name);
  files = std::move(names);
  return true;
}

std::vector<std::string> ListTxtFiles(const std::string& folder) {
  std::vector<std::string> files;
  std::string why;
  ListTxtFiles(folder, files, why);
  return files;
}

std::string FolderNotListedMessage(const std::string& folder, const std::string& why) {
  return "Folder " + folder + " cannot be listed: " + why + "!";
}

bool MakeDirectory(const std::string& path, std::string* why) {
  if (mkdir(path.c_str(), 0777) == 0) return true;
  const int error = errno;
  if (error == EEXIST && IsDirectory(path)) return true;
  if (why != nullptr) *why = std::strerror(error);
  return false;
}

std::string FolderNotCreatedMessage(const std::string& folder, const std::string& why) {
  return "Folder " + folder + " cannot be created: " + why + "!";
}

std::string ExecutableDirectory() {
  char buffer[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (length <= 0) return ".";
  return ParentFolder(std::string(buffer, static_cast<size_t>(length)));
}

namespace {
// Position of the extension's ".", or npos when the file name has none.
size_t ExtensionDot(const std::string& path) {
  size_t dot = path.rfind('.');
  size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return std::string::npos;
  return dot;
}
}  // namespace

std::string PathWithoutExtension(const std::string& path) {
  size_t dot = ExtensionDot(path);
  return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string LowerCaseExtension(const std::string& path) {
  size_t dot = ExtensionDot(path);
  if (dot == std::string::npos) return "";
  std::string ext = path.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

int OpenRegularFile(const std::string& path, std::string* why) {
  // O_NONBLOCK: a named pipe without a writer (or a device) would hold a plain open for ever; on
  // a regular file the flag has no effect, so the descriptor reads as any other. Nothing is
  // looked at before the open, so nothing can be swapped in between.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    if (why != nullptr) *why = std::strerror(errno);
    return -1;
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    if (why != nullptr) *why = "not a regular file";
    close(fd);
    return -1;
  }
  return fd;
}

std::FILE* OpenRegularFileStream(const std::string& path, std::string* why) {
  const int fd = OpenRegularFile(path, why);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "rb");
  if (file == nullptr) {
    if (why != nullptr) *why = std::strerror(errno);
    close(fd);
  }
  return file;
}

RegularFileRead ReadRegularFile(const std::string& path, std::string& text, size_t maxBytes,
                                std::string* why) {
  text.clear();
  const int fd = OpenRegularFile(path, why);
  if (fd < 0) return RegularFileRead::kUnreadable;
  struct stat info;
  if (fstat(fd, &info) == 0 && static_cast<unsigned long long>(info.st_size) > maxBytes) {
    close(fd);
    return RegularFileRead::kTooLarge;
  }
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof(buffer));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      if (why != nullptr) *why = std::strerror(errno);
      close(fd);
      return RegularFileRead::kUnreadable;
    }
    if (got == 0) break;
    if (text.size() + static_cast<size_t>(got) > maxBytes) {  // it grew while being read
      text.clear();
      close(fd);
      return RegularFileRead::kTooLarge;
    }
    text.append(buffer, static_cast<size_t>(got));
  }
  close(fd);
  return RegularFileRead::kRead;
}

std::string WhyNotReadable(const std::string& path) {
  // Looked at first so that a device or pipe is not even opened only to be named (opening some
  // devices acts); the open then tells what the file is now.
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return std::strerror(errno);
  if (!S_ISREG(info.st_mode)) return "not a regular file";
  std::string why;
  const int fd = OpenRegularFile(path, &why);
  if (fd >= 0) close(fd);
  return why;
}

}  // namespace plexo
