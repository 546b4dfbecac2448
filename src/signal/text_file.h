#pragma once
// Text files as the program writes them: every "\n" becomes CR LF, and a result file replaces
// an earlier one only once it is complete (written beside it under a temporary name, then
// renamed), so an aborted run never leaves a half-written table where a good one stood.
#include <cstdio>
#include <string>
#include <string_view>

namespace plexo {

class TextFileWriter {
 public:
  // With translate_newlines false the bytes are written unchanged (images).
  explicit TextFileWriter(std::string path, bool translate_newlines = true);
  ~TextFileWriter();  // discards the temporary file unless Commit succeeded
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // Appends text; "\n" is written as CR LF.
  void Write(std::string_view text);
  // Flushes, closes and renames over the target. False (and nothing replaced) on any error.
  bool Commit();

 private:
  void Flush();
  std::string path_;
  std::string temp_path_;
  std::FILE* file_ = nullptr;
  std::string buffer_;
  bool translate_ = true;
  bool failed_ = false;
};

// Creates or replaces the file with the text ("\n" written as CR LF). On failure prints
// "File open NOT succesfull" to standard output, as every file routine does, and returns false.
bool WriteTextFile(const std::string& path, std::string_view text);

// Creates or replaces the file with exactly these bytes, atomically.
bool WriteBinaryFile(const std::string& path, const void* data, size_t size);

// The message the file routines print to standard output when a file cannot be opened or
// written.
void ReportFileError();

// "File <path> could not be written!": what a calculation tells the user when a result it must
// hand on (not only show) could not be written.
std::string FileNotWrittenMessage(const std::string& path);

}  // namespace plexo
