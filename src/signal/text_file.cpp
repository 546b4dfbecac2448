#include "signal/text_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace plexo {
namespace {
constexpr size_t kFlushSize = 1 << 16;
}

TextFileWriter::TextFileWriter(std::string path, bool translate_newlines)
    : path_(std::move(path)), translate_(translate_newlines) {
  std::vector<char> name(path_.begin(), path_.end());
  const std::string suffix = ".tmpXXXXXX";
  name.insert(name.end(), suffix.begin(), suffix.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) return;
  temp_path_ = name.data();
  // mkstemp creates the file 0600; results should carry the ordinary permissions.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  file_ = fdopen(fd, "wb");
  if (file_ == nullptr) {
    close(fd);
    std::remove(temp_path_.c_str());
  }
  buffer_.reserve(kFlushSize + 1024);
}

TextFileWriter::~TextFileWriter() {
  if (file_ != nullptr) {
    std::fclose(file_);
    std::remove(temp_path_.c_str());
  }
}

void TextFileWriter::Write(std::string_view text) {
  if (file_ == nullptr) return;
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
  if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
    failed_ = true;
  buffer_.clear();
}

bool TextFileWriter::Commit() {
  if (file_ == nullptr) return false;
  Flush();
  bool ok = !failed_ && std::fflush(file_) == 0;
  ok = (std::fclose(file_) == 0) && ok;
  file_ = nullptr;
  if (ok && std::rename(temp_path_.c_str(), path_.c_str()) == 0) return true;
  std::remove(temp_path_.c_str());
  return false;
}

void ReportFileError() {
  std::fputs("File open NOT succesfull\n", stdout);
  std::fflush(stdout);
}

std::string FileNotWrittenMessage(const std::string& path) {
  return "File " + path + " could not be written!";
}

bool WriteTextFile(const std::string& path, std::string_view text) {
  TextFileWriter writer(path);
  writer.Write(text);
  if (writer.Commit()) return true;
  ReportFileError();
  return false;
}

}  // namespace plexo

namespace plexo {

bool WriteBinaryFile(const std::string& path, const void* data, size_t size) {
  TextFileWriter writer(path, false);
  writer.Write(std::string_view(static_cast<const char*>(data), size));
  return writer.Commit();
}

}  // namespace plexo
