#pragma once
// The three file viewers, one row each: the name the command line gives the kind, the title of
// the viewer's window and the filter of its file picker.
#include <string_view>

namespace plexo {

enum class ViewerKind { kWaveform, kFft, kTft };

struct ViewerKindEntry {
  ViewerKind kind;
  const char* name;   // "waveform", "fft", "tft"
  const char* title;  // the window's title
  std::string_view filter;
};

inline constexpr ViewerKindEntry kViewerKinds[] = {
    {ViewerKind::kWaveform, "waveform", "Waveform File", "ASCII-waveform(*.txt)|*.txt||"},
    {ViewerKind::kFft, "fft", "FFT File", "ASCII-fft(*.txt)|*.txt||"},
    {ViewerKind::kTft, "tft", "WT File", "ASCII-WT(*.txt)|*.txt||"},
};

// The row of a kind (the rows are in the enum's order).
constexpr const ViewerKindEntry& ViewerKindOf(ViewerKind kind) {
  return kViewerKinds[static_cast<int>(kind)];
}
inline const char* ViewerKindName(ViewerKind kind) { return ViewerKindOf(kind).name; }
inline const char* ViewerTitle(ViewerKind kind) { return ViewerKindOf(kind).title; }
inline std::string_view ViewerFilter(ViewerKind kind) { return ViewerKindOf(kind).filter; }

static_assert(ViewerKindOf(ViewerKind::kTft).kind == ViewerKind::kTft);

}  // namespace plexo
