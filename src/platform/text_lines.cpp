#include "platform/text_lines.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/file_system.h"
#include "platform/text_file.h"

namespace plexo {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

FileBytes::~FileBytes() { Unmap(); }

void FileBytes::Unmap() {
  if (mapped_ != nullptr) munmap(mapped_, mapped_size_);
  mapped_ = nullptr;
  mapped_size_ = 0;
}

std::string_view FileBytes::Text() const {
  if (mapped_ != nullptr) return {static_cast<const char*>(mapped_), mapped_size_};
  return {data_.get(), size_};
}

FileReadStatus ReadWholeFile(const std::string& path, FileBytes& out) {
  out.size_ = 0;
  out.Unmap();
  // Pipes and devices are refused without blocking.
  const FileDescriptor fd(OpenRegularFile(path));
  if (fd.get() < 0) return kFileNotOpened;
  struct stat info;
  if (fstat(fd.get(), &info) != 0) return kFileReadError;
  if (static_cast<uint64_t>(info.st_size) >= kMapFileBytes) {
    void* mapped =
        mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd.get(), 0);
    if (mapped == MAP_FAILED) return kFileReadError;
    out.mapped_ = mapped;
    out.mapped_size_ = static_cast<size_t>(info.st_size);
    return kFileRead;
  }
  // One byte more than the size, so that the read that finds the end needs no new buffer.
  size_t wanted = static_cast<size_t>(std::max<off_t>(info.st_size, 0)) + 1;
  for (;;) {
    if (out.capacity_ < wanted) {
      std::unique_ptr<char[]> bigger(new char[wanted]);  // not zero-filled: read() fills it
      if (out.size_ > 0) std::memcpy(bigger.get(), out.data_.get(), out.size_);
      out.data_ = std::move(bigger);
      out.capacity_ = wanted;
    }
    const ssize_t got = read(fd.get(), out.data_.get() + out.size_, out.capacity_ - out.size_);
    if (got < 0) {
      if (errno == EINTR) continue;
      return kFileReadError;
    }
    if (got == 0) return kFileRead;
    out.size_ += static_cast<size_t>(got);
    if (out.size_ == out.capacity_) wanted = out.capacity_ * 2;  // the file grew meanwhile
  }
}

bool ReadWholeFileOrReport(const std::string& path, FileBytes& out) {
  switch (ReadWholeFile(path, out)) {
    case kFileRead:
      return true;
    case kFileReadError:
      ReportFileError();
      return false;
    case kFileNotOpened:
      break;
  }
  return false;
}

}  // namespace plexo
