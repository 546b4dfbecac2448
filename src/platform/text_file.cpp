#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <system_error>

#include "platform/file_system.h"
#include "platform/interrupt_cleanup.h"

namespace plexo {
namespace {

constexpr size_t kFlushSize = 1 << 16;

// The text of an errno value (thread-safe, the same words as strerror).
std::string ErrnoText(int error_number) {
  return std::error_code(error_number, std::generic_category()).message();
}

std::atomic<bool> g_prefer_named{false};

// Unnamed files are linked through /proc/self/fd; without it they could never get a name.
bool ProcFdUsable() {
  static const bool usable = access("/proc/self/fd", X_OK) == 0;
  return usable && !g_prefer_named.load();
}

// A fresh temporary name beside `path`: path + ".tmp" + six letters or digits. Uniqueness is
// checked by whoever creates it (O_EXCL, linkat's EEXIST); this only makes clashes rare.
std::string TemporaryNameFor(const std::string& path) {
  static std::atomic<unsigned long long> counter{0};
  unsigned long long x =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      (static_cast<unsigned long long>(getpid()) << 40) ^
      (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name = path + ".tmp";
  for (int i = 0; i < 6; ++i) {
    x ^= x >> 29;
    x *= 0xBF58476D1CE4E5B9ull;
    name += kLetters[x % 62];
  }
  return name;
}

constexpr int kNameTries = 100;

// Unnamed temporaries hold a descriptor until they are put in place. A result of many files (a
// folder of processed waveforms) would run out of descriptors: beyond this many, finished ones
// are given a temporary name and closed.
constexpr int kMostOpenUnnamed = 256;
std::atomic<int> g_open_unnamed{0};

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

TextFileWriter::TextFileWriter(std::string path, bool translate_newlines)
    : path_(std::move(path)), translate_(translate_newlines) {
  InstallInterruptCleanup();
  Open();
  if (fd_ >= 0) buffer_.reserve(kFlushSize + 1024);
}

TextFileWriter::~TextFileWriter() { Discard(); }

void TextFileWriter::Open() {
  if (ProcFdUsable()) {
    fd_ = ::open(ParentFolder(path_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      unnamed_ = opened_ = true;
      g_open_unnamed.fetch_add(1);
      return;
    }
    // Only a file system (or kernel) without unnamed files gets a named temporary.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
      Fail(errno);
      return;
    }
  }
  OpenNamed();
}

bool TextFileWriter::OpenNamed() {
  for (int attempt = 0; attempt < kNameTries; ++attempt) {
    const std::string name = TemporaryNameFor(path_);
    // Listed before it exists, so that no moment passes in which a signal would leave it.
    ListedName* listed = ListTemporaryName(name);
    fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temp_path_ = name;
      listed_ = listed;
      opened_ = true;
      return true;
    }
    const int error_number = errno;
    ForgetTemporaryName(listed);
    if (error_number != EEXIST) {
      Fail(error_number);
      return false;
    }
  }
  Fail(EEXIST);
  return false;
}

void TextFileWriter::Fail(int error_number) {
  if (error_.empty()) error_ = FileNotWrittenMessage(path_, ErrnoText(error_number));
}

void TextFileWriter::Write(std::string_view text) {
  if (fd_ < 0 || finished_ || !error_.empty()) return;
  if (!translate_) {
    buffer_.append(text);
    if (buffer_.size() >= kFlushSize) Flush();
    return;
  }
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      buffer_.append(text.data() + start, i - start);
      buffer_.append("\r\n");
      start = i + 1;
    }
  }
  buffer_.append(text.data() + start, text.size() - start);
  if (buffer_.size() >= kFlushSize) Flush();
}

void TextFileWriter::Flush() {
  if (!buffer_.empty() && error_.empty() && !WriteAll(fd_, buffer_.data(), buffer_.size()))
    Fail(errno);
  buffer_.clear();
}

bool TextFileWriter::Finish() {
  if (finished_) return finish_ok_;
  finished_ = true;
  if (fd_ < 0) {
    if (error_.empty()) Fail(EBADF);
    return finish_ok_ = false;
  }
  Flush();
  // Starts writing the data out now (without waiting for it): a file system that allocates
  // blocks late (ext4) would otherwise do that inside the rename over an earlier file, and
  // stretch the moment in which a result is half in place.
  if (error_.empty()) sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
  // A named temporary is complete once closed (a network file system reports late errors here);
  // an unnamed one stays open: its descriptor is what gives it a name.
  if (!unnamed_) {
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0 && error_.empty()) Fail(errno);
  }
  finish_ok_ = error_.empty();
  if (!finish_ok_) {
    Discard();
  } else if (unnamed_ && g_open_unnamed.load() > kMostOpenUnnamed) {
    GiveTemporaryName();
  }
  return finish_ok_;
}

// Turns a finished unnamed temporary into a named one and closes it; it stays unnamed when no
// name can be linked.
void TextFileWriter::GiveTemporaryName() {
  if (LinkUnderTemporaryName() != 0) return;
  CloseDescriptor();
  unnamed_ = false;
}

// Links the unnamed temporary under a fresh listed name beside the target; 0 or the errno.
int TextFileWriter::LinkUnderTemporaryName() {
  const std::string from = ReadPath();
  for (int attempt = 0; attempt < kNameTries; ++attempt) {
    const std::string name = TemporaryNameFor(path_);
    // Listed before it exists, so that no moment passes in which a signal would leave it.
    ListedName* listed = ListTemporaryName(name);
    if (linkat(AT_FDCWD, from.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      temp_path_ = name;
      listed_ = listed;
      return 0;
    }
    const int error_number = errno;
    ForgetTemporaryName(listed);
    if (error_number != EEXIST) return error_number;
  }
  return EEXIST;
}

void TextFileWriter::CloseDescriptor() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  if (unnamed_) g_open_unnamed.fetch_sub(1);
}

std::string TextFileWriter::ReadPath() const {
  if (unnamed_) return "/proc/self/fd/" + std::to_string(fd_);
  return temp_path_;
}

bool TextFileWriter::Install() {
  const InterruptsDeferred deferred;  // the name appears and replaces the target in one go
  return Prepare(/*direct=*/true) && Place();
}

bool TextFileWriter::Prepare(bool direct) {
  if (installed_ || prepared_) return true;
  if (!Finish()) return false;
  if (!unnamed_) return prepared_ = true;  // its name is ready already
  const std::string from = ReadPath();
  // No target yet: the complete file takes its name directly.
  if (direct) {
    if (linkat(AT_FDCWD, from.c_str(), AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      created_ = true;
      return prepared_ = true;
    }
    if (errno != EEXIST) {
      Fail(errno);
      Discard();
      return false;
    }
  }
  // Else a name beside it, to be renamed over the target: from here to the rename is the only
  // moment a kill -9 could leave a temporary name behind.
  if (const int error_number = LinkUnderTemporaryName(); error_number != 0) {
    Fail(error_number);
    Discard();
    return false;
  }
  return prepared_ = true;
}

bool TextFileWriter::Place() {
  if (installed_) return true;
  if (!prepared_) return false;
  if (!created_ && std::rename(temp_path_.c_str(), path_.c_str()) != 0) {
    Fail(errno);
    Discard();
    return false;
  }
  temp_path_.clear();
  installed_ = true;
  Discard();
  return true;
}

void TextFileWriter::Withdraw() {
  if (installed_) return;
  // The target did not exist before this file took its name: removing it restores that.
  if (created_) ::unlink(path_.c_str());
  created_ = prepared_ = false;
  Discard();
}

// Closes the temporary and removes its name, if it has one.
void TextFileWriter::Discard() {
  CloseDescriptor();
  if (!temp_path_.empty()) {
    ::unlink(temp_path_.c_str());
    temp_path_.clear();
  }
  ForgetTemporaryName(listed_);
  listed_ = nullptr;
}

void PreferNamedTemporaries(bool prefer) { g_prefer_named.store(prefer); }

void ReportFileError() {
  // On standard error, with the program's other messages (standard output carries results).
  std::cerr << "File open NOT succesfull" << std::endl;
}

std::string FileNotWrittenMessage(const std::string& path) {
  return "File " + path + " could not be written!";
}

std::string FileNotWrittenMessage(const std::string& path, const std::string& reason) {
  return "File " + path + " could not be written: " + reason + "!";
}

bool WriteTextFile(const std::string& path, std::string_view text, std::string* error) {
  TextFileWriter writer(path);
  writer.Write(text);
  if (writer.Commit()) return true;
  ReportFileError();
  if (error != nullptr) *error = writer.Error();
  return false;
}

bool WriteBinaryFile(const std::string& path, const void* data, size_t size, std::string* error) {
  TextFileWriter writer(path, false);
  writer.Write(std::string_view(static_cast<const char*>(data), size));
  if (writer.Commit()) return true;
  if (error != nullptr) *error = writer.Error();
  return false;
}

}  // namespace plexo
