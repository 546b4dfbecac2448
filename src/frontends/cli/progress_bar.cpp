#include "frontends/cli/progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>

namespace plexo::cli {
namespace {
constexpr int kCells = 40;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
std::atomic<bool> g_show_bars{true};
}  // namespace

void ShowProgressBars(bool show) { g_show_bars.store(show); }

TerminalProgressBar::TerminalProgressBar(std::string label)
    : TerminalProgressBar(std::move(label), stderr,
                          g_show_bars.load() && isatty(STDERR_FILENO) == 1) {}

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
  // A shorter line (after a Clear, or a count that lost a digit) leaves nothing of the last one.
  const size_t width = line.size() - 1;
  if (width < drawn_width_) line.append(drawn_width_ - width, ' ');
  std::fputs(line.c_str(), sink_);
  std::fflush(sink_);
  drawn_ = true;
  drawn_width_ = std::max(width, drawn_width_);
}

void TerminalProgressBar::Clear() {
  if (!drawn_) return;
  std::string blank = "\r";
  blank.append(drawn_width_, ' ');
  blank += '\r';
  std::fputs(blank.c_str(), sink_);
  std::fflush(sink_);
  drawn_ = false;
  drawn_width_ = 0;
  last_cells_ = -1;  // drawn again at the next update
}

void TerminalProgressBar::Finish() {
  if (!drawn_) return;
  std::fputc('\n', sink_);
  std::fflush(sink_);
  drawn_ = false;
  drawn_width_ = 0;
}

}  // namespace plexo::cli
