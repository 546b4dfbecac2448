#include "frontends/cli/progress_bar.h"

#include <unistd.h>

#include <algorithm>

namespace plexo::cli {
namespace {
constexpr int kCells = 40;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
}  // namespace

TerminalProgressBar::TerminalProgressBar(std::string label)
    : TerminalProgressBar(std::move(label), stderr, isatty(STDERR_FILENO) == 1) {}

TerminalProgressBar::TerminalProgressBar(std::string label, std::FILE* sink, bool enabled)
    : label_(std::move(label)), sink_(sink), enabled_(enabled) {}

TerminalProgressBar::~TerminalProgressBar() { Finish(); }

void TerminalProgressBar::SetRange(int low, int high) {
  low_ = low;
  high_ = std::max(low, high);
  pos_ = low;
  last_cells_ = -1;
  Draw(true);
}

void TerminalProgressBar::SetPos(int pos) {
  pos_ = std::clamp(pos, low_, high_);
  Draw(pos_ == high_);
}

// Redraws when the bar grows by a cell, at the end, and otherwise at most every 100 ms, so that
// thousands of files do not mean thousands of terminal writes.
void TerminalProgressBar::Draw(bool force) {
  if (!enabled_) return;
  const int span = high_ - low_;
  const int cells =
      span > 0 ? static_cast<int>(static_cast<long long>(pos_ - low_) * kCells / span) : kCells;
  const auto now = std::chrono::steady_clock::now();
  if (!force && cells == last_cells_ && now - last_draw_ < kRedrawInterval) return;
  last_cells_ = cells;
  last_draw_ = now;
  std::string line = "\r" + label_ + " [";
  line.append(cells, '#');
  line.append(kCells - cells, '.');
  line += "] " + std::to_string(pos_ - low_) + "/" + std::to_string(span);
  std::fputs(line.c_str(), sink_);
  std::fflush(sink_);
  drawn_ = true;
}

void TerminalProgressBar::Finish() {
  if (!drawn_) return;
  std::fputc('\n', sink_);
  std::fflush(sink_);
  drawn_ = false;
}

}  // namespace plexo::cli
