#pragma once
// What the program asks of the person in front of it, and what a running calculation is handed
// by whoever started it. The calculations reach the user only through these two interfaces, so
// the same code runs from a test, the command line and the desktop.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cv {
class Mat;
}

namespace plexo {

// What an interactive chart window draws (plot/chart_data.h); this layer only passes it on.
struct ChartData;

class CalcProgress {
 public:
  virtual ~CalcProgress() = default;
  virtual void SetRange(int low, int high) = 0;
  virtual void SetPos(int pos) = 0;
  // Keeps the user interface alive; a no-op where the interface has a thread of its own.
  virtual void DrainMessages() = 0;
  // The running dialog's stop flag.
  virtual bool StopRequested() const = 0;
};

class Host {
 public:
  virtual ~Host() = default;
  // A modal message with an OK button.
  virtual void MessageBox(std::string_view text) = 0;
  // A file picker; `filter` is written as "Name(*.ext)|*.ext||".
  virtual std::optional<std::string> OpenFile(std::string_view filter) = 0;
  virtual std::optional<std::string> BrowseForFolder() = 0;
  // Shows the image in a window with the given title and returns after a key press there.
  virtual void ShowImage(std::string_view title, const cv::Mat& image) = 0;
  // The same, for an image drawn from data that a window can also draw interactively (zoomed,
  // read under the mouse); the chart's buffers stay valid for the call. Without such a window,
  // the image alone.
  virtual void ShowChart(std::string_view title, const cv::Mat& image, const ChartData& /*chart*/) {
    ShowImage(title, image);
  }

  // What a front end may do better than the plain forms above; each falls back on them.
  // A folder picker whose window says what it picks ("Folder of the files to import").
  virtual std::optional<std::string> PickFolder(std::string_view /*title*/) {
    return BrowseForFolder();
  }
  // A message that reports success (shown without a warning sign).
  virtual void Inform(std::string_view text) { MessageBox(text); }
  // The files of a result have just been put in place (the desktop's status bar says so).
  virtual void ResultWritten(const std::vector<std::string>& /*paths*/) {}

  // Work not saved yet would be lost (a window is closing): save it first, discard it, or keep
  // it and stay. Where nobody can be asked, the text is shown and the work kept.
  enum class UnsavedAnswer { kSave, kDiscard, kCancel };
  virtual UnsavedAnswer AskUnsaved(std::string_view text) {
    MessageBox(text);
    return UnsavedAnswer::kCancel;
  }
};

// A progress sink that ignores everything and never asks to stop.
class NullProgress : public CalcProgress {
 public:
  void SetRange(int, int) override {}
  void SetPos(int) override {}
  void DrainMessages() override {}
  bool StopRequested() const override { return false; }
};

// How a calculation ended, for the command line's exit status. What the user must see has
// already gone through Host::MessageBox.
enum class CalcStatus {
  kDone,     // results written
  kRefused,  // input rejected before anything was written
  kStopped,  // the user asked to stop; nothing (more) written
  kFailed,   // a result file could not be written
};

}  // namespace plexo
