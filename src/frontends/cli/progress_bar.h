#pragma once
// The command line's progress: a bar on standard error while it is a terminal, nothing when it
// is redirected (logs and pipes get no control characters).
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "platform/host.h"

namespace plexo::cli {

class TerminalProgressBar : public CalcProgress {
 public:
  // Draws to standard error when that is a terminal.
  explicit TerminalProgressBar(std::string label);
  // Draws to `sink` when `enabled` (tests).
  TerminalProgressBar(std::string label, std::FILE* sink, bool enabled);
  ~TerminalProgressBar() override;

  void SetRange(int low, int high) override;
  void SetPos(int pos) override;
  void DrainMessages() override {}
  bool StopRequested() const override { return false; }

  // Ends the bar's line so that later messages start on a line of their own.
  void Finish();

 private:
  void Draw(bool force);

  std::string label_;
  std::FILE* sink_;
  bool enabled_;
  bool drawn_ = false;
  int low_ = 0;
  int high_ = 0;
  int pos_ = 0;
  int last_cells_ = -1;
  std::chrono::steady_clock::time_point last_draw_{};
};

// Ends the progress bar's line before a message, so that the message stands on a line of its
// own.
class BarFinishingHost : public Host {
 public:
  BarFinishingHost(Host& host, TerminalProgressBar& bar) : host_(host), bar_(bar) {}
  void MessageBox(std::string_view text) override {
    bar_.Finish();
    host_.MessageBox(text);
  }
  std::optional<std::string> OpenFile(std::string_view filter) override {
    return host_.OpenFile(filter);
  }
  std::optional<std::string> BrowseForFolder() override { return host_.BrowseForFolder(); }
  void ShowImage(std::string_view title, const cv::Mat& image) override {
    bar_.Finish();
    host_.ShowImage(title, image);
  }

 private:
  Host& host_;
  TerminalProgressBar& bar_;
};

}  // namespace plexo::cli
