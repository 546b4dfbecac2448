#pragma once
// What the folder commands (avg-fft, avg-tft, convolve) share on the command line: the help of
// --strict, and a host that names every skipped file (the desktop's one message lists the first
// FileNotes::kShown of them; standard error has room for all).
#include <string>
#include <string_view>

#include "platform/file_notes.h"
#include "platform/headless_host.h"

namespace plexo::cli {

inline constexpr const char* kStrictHelp =
    "Stop at the first file that is not a readable waveform (unreadable, no samples, a sample\n"
    "that is not a finite number, no usable sample interval) and write nothing; without it such\n"
    "files are named on standard error with the reason, skipped, and counted in the closing line";

class AllNotesHost : public HeadlessHost {
 public:
  using HeadlessHost::HeadlessHost;
  // The notes of the run; their message is printed whole, one note a line.
  const FileNotes* notes = nullptr;

  void MessageBox(std::string_view text) override {
    if (notes != nullptr && notes->All().size() > FileNotes::kShown && text == notes->Text()) {
      std::string all;
      for (const std::string& note : notes->All()) all += (all.empty() ? "" : "\n") + note;
      HeadlessHost::MessageBox(all);
      return;
    }
    HeadlessHost::MessageBox(text);
  }
};

}  // namespace plexo::cli
