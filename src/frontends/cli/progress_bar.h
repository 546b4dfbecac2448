#pragma once
// The command line's progress: a bar on standard error while it is a terminal, redrawn in place
// ("\r", no new line per update); nothing at all when it is redirected (logs and pipes get no
// control characters) or when the run is quiet.
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "platform/host.h"

namespace plexo::cli {

// Whether bars are drawn at all (--quiet: none); for the whole process, set before a command.
void ShowProgressBars(bool show);

class TerminalProgressBar : public CalcProgress {
 public:
  // Draws to standard error when that is a terminal and bars are shown.
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
  // Takes the bar off its line so that a line can be printed there; the next update draws it
  // again below that line.
  void Clear();

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
  size_t drawn_width_ = 0;
  std::chrono::steady_clock::time_point last_draw_{};
};

// Takes the progress bar off its line before a message, so that the message stands on a line
// of its own; the bar comes back below it at the next update.
class BarFinishingHost : public Host {
 public:
  BarFinishingHost(Host& host, TerminalProgressBar& bar) : host_(host), bar_(bar) {}
  void MessageBox(std::string_view text) override {
    bar_.Clear();
    host_.MessageBox(text);
  }
  void Inform(std::string_view text) override {
    bar_.Clear();
    host_.Inform(text);
  }
  std::optional<std::string> OpenFile(std::string_view filter) override {
    return host_.OpenFile(filter);
  }
  std::optional<std::string> BrowseForFolder() override { return host_.BrowseForFolder(); }
  void ShowImage(std::string_view title, const cv::Mat& image) override {
    bar_.Clear();
    host_.ShowImage(title, image);
  }
  void ShowChart(std::string_view title, const cv::Mat& image, const ChartData& chart) override {
    bar_.Clear();
    host_.ShowChart(title, image, chart);
  }

 private:
  Host& host_;
  TerminalProgressBar& bar_;
};

}  // namespace plexo::cli
