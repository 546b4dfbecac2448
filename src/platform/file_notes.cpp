#include "platform/file_notes.h"

namespace plexo {

std::string FileNotes::Text() const {
  std::string text;
  for (size_t i = 0; i < notes_.size() && i < kShown; ++i) {
    if (i > 0) text += '\n';
    text += notes_[i];
  }
  if (notes_.size() > kShown)
    text += "\n... and " + std::to_string(notes_.size() - kShown) + " more.";
  return text;
}

void FileNotes::Report(Host& host) const {
  if (!notes_.empty()) host.MessageBox(Text());
}

}  // namespace plexo
