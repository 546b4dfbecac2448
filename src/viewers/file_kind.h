#pragma once
// Which viewer a file belongs to, told from its first lines: a waveform file has the
// "SAMPLE INTERVAL (Seconds):" key among its nine header lines; an FFT file starts with
// "Channel:" and has the titles "Frequency:" in line 3 (an average FFT table starts with its
// titles "Frequency:\tReal:\tImaginary:\tMagnitude:", or has "Average" in its first line); a TFT
// file starts with "Channel:" and has "Frequency[Hz]/Time[s]" in line 3.
#include <optional>
#include <string>
#include <string_view>

#include "viewers/file_charts.h"

namespace plexo {

// The kind of the file, or nothing when it is none of the three (or cannot be read).
std::optional<ViewerKind> DetectViewerKind(const std::string& path);

// "waveform", "fft", "tft": the names the command line uses; nothing for another name.
std::optional<ViewerKind> ViewerKindFromName(std::string_view name);

}  // namespace plexo
