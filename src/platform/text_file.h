#pragma once
// Files as the program writes them: text with every "\n" written as CR LF (or bytes unchanged),
// into a temporary file beside the target that replaces the target only once it is complete.
//
// The temporary has no name (O_TMPFILE) while it is written, so nothing is left behind however
// the program ends; it gets the target's name by linkat, straight when there is no target yet,
// else under a temporary name renamed over the target at once. Where the file system refuses
// unnamed files the temporary is written under a name beside the target, which SIGINT, SIGTERM
// and SIGHUP remove (see interrupt_cleanup.h). Several files of one result are put in place
// together by ResultFiles (result_files.h).
#include <string>
#include <string_view>

namespace plexo {

struct ListedName;

class TextFileWriter {
 public:
  // With translate_newlines false the bytes are written unchanged (images).
  explicit TextFileWriter(std::string path, bool translate_newlines = true);
  ~TextFileWriter();  // discards the temporary file unless it was put in place
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  // False when the temporary file could not be made; Error() says why.
  bool IsOpen() const { return opened_; }
  // Appends text; "\n" is written as CR LF when translating.
  void Write(std::string_view text);
  // Writes out what is buffered. True when every byte reached the temporary file, which can then
  // be read at ReadPath(). Later calls return the same answer.
  bool Finish();
  // Puts the finished temporary file in place of the target. False (nothing replaced) on error.
  bool Install();

  // Install in two steps, for several files put in place together: Prepare gives the complete
  // file a name (with `direct`, the target's own when there is none yet; else a temporary one
  // beside it) and can fail; Place renames it over the target. Withdraw undoes a Prepare that was
  // not placed.
  bool Prepare(bool direct);
  bool Place();
  void Withdraw();
  // Finish and Install: for a result of one file.
  bool Commit() { return Finish() && Install(); }

  const std::string& Path() const { return path_; }
  // Where the bytes written so far can be read back after Finish, before Install.
  std::string ReadPath() const;
  // "File <path> could not be written: <reason>!" of the first failure; empty while none.
  const std::string& Error() const { return error_; }

 private:
  void Open();
  bool OpenNamed();
  void Flush();
  void Fail(int error_number);
  void Discard();
  void GiveTemporaryName();
  int LinkUnderTemporaryName();
  void CloseDescriptor();
  std::string path_;
  std::string temp_path_;  // only for a named temporary (or during linking)
  ListedName* listed_ = nullptr;
  int fd_ = -1;
  bool opened_ = false;
  bool unnamed_ = false;
  bool prepared_ = false;
  bool created_ = false;  // the target did not exist; the file took its name directly
  bool finished_ = false;
  bool finish_ok_ = false;
  bool installed_ = false;
  bool translate_ = true;
  std::string buffer_;
  std::string error_;
};

// Makes later writers use named temporaries, as on a file system without unnamed files (for
// tests of that path on file systems that have them).
void PreferNamedTemporaries(bool prefer);

// Creates or replaces the file with the text ("\n" written as CR LF). On failure prints
// "File open NOT succesfull" to standard error, as every file routine does, and returns false;
// `error`, when given, receives the message naming the file and the reason.
bool WriteTextFile(const std::string& path, std::string_view text, std::string* error = nullptr);

// Creates or replaces the file with exactly these bytes, atomically. `error` as above.
bool WriteBinaryFile(const std::string& path, const void* data, size_t size,
                     std::string* error = nullptr);

// The message the file routines print to standard error when a file cannot be opened or
// written.
void ReportFileError();

// "File <path> could not be written!": what a calculation tells the user when a result could
// not be written and the reason is not known.
std::string FileNotWrittenMessage(const std::string& path);
// "File <path> could not be written: <reason>!".
std::string FileNotWrittenMessage(const std::string& path, const std::string& reason);

}  // namespace plexo
