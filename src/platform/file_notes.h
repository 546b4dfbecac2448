#pragma once
// Notes about single files of a folder run (a file refused for its content, a file on another
// frequency grid), gathered while the run goes on and shown together when it ends: a folder of
// many such files gives one message, not a message box per file.
#include <string>
#include <vector>

#include "platform/host.h"

namespace plexo {

class FileNotes {
 public:
  // The most notes one message lists; the rest are counted.
  static constexpr size_t kShown = 20;

  void Clear() { notes_.clear(); }
  void Add(std::string note) { notes_.push_back(std::move(note)); }
  bool Empty() const { return notes_.empty(); }
  const std::vector<std::string>& All() const { return notes_; }

  // The notes one a line, the first kShown of them, then "... and N more." when there are more.
  std::string Text() const;
  // Shows Text() as one message when there is any note.
  void Report(Host& host) const;

 private:
  std::vector<std::string> notes_;
};

}  // namespace plexo
