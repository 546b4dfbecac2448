#pragma once
// Text files read in one piece and split into lines without a copy per line.
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace plexo {

enum FileReadStatus {
  kFileRead,       // the bytes hold the file
  kFileNotOpened,  // missing, not a regular file (a folder, a device, a pipe) or not readable
  kFileReadError,  // opened, but reading failed part way
};

// The bytes of a whole file: read into a buffer, or mapped when the file is large, so that a
// huge file costs no memory of its own.
class FileBytes {
 public:
  FileBytes() = default;
  ~FileBytes();
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;

  std::string_view Text() const;

 private:
  friend FileReadStatus ReadWholeFile(const std::string& path, FileBytes& out);
  void Unmap();
  std::unique_ptr<char[]> data_;
  size_t size_ = 0;
  size_t capacity_ = 0;
  void* mapped_ = nullptr;
  size_t mapped_size_ = 0;
};

// Reads the regular file at `path` with as few read calls as its size allows (files of
// kMapFileBytes or more are mapped instead). Devices and pipes are refused without blocking.
// `out` keeps its buffer for the next file.
inline constexpr size_t kMapFileBytes = size_t{64} << 20;
FileReadStatus ReadWholeFile(const std::string& path, FileBytes& out);
// ReadWholeFile for the readers that tell the user only of a read error (ReportFileError):
// true when the file was read; false when it could not be opened (the caller says why) or read.
bool ReadWholeFileOrReport(const std::string& path, FileBytes& out);

// Splits text as std::getline does ("a\nb" and "a\nb\n" are both two lines), dropping one CR
// before each LF or at the end, so CR LF and LF files read alike.
class LineSplitter {
 public:
  explicit LineSplitter(std::string_view text) : text_(text) {}

  // The next line, without its line end; false when the text is used up.
  bool Next(std::string_view& line) {
    if (position_ >= text_.size()) return false;
    const char* begin = text_.data() + position_;
    const size_t rest = text_.size() - position_;
    const void* newline = std::memchr(begin, '\n', rest);
    size_t length = newline != nullptr ? static_cast<const char*>(newline) - begin : rest;
    position_ += newline != nullptr ? length + 1 : length;
    if (length > 0 && begin[length - 1] == '\r') --length;
    line = std::string_view(begin, length);
    return true;
  }

  // Where the next line starts, and the end of the text: for a reader that takes a line in a
  // single pass of its own and then continues with SkipTo(the start of the following line).
  const char* Cursor() const { return text_.data() + position_; }
  const char* End() const { return text_.data() + text_.size(); }
  void SkipTo(const char* next_line) { position_ = static_cast<size_t>(next_line - text_.data()); }

 private:
  std::string_view text_;
  size_t position_ = 0;
};

}  // namespace plexo
