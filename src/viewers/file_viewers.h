#pragma once
// The three viewers of the "&File" menu: ask for a file, check its extension, read it, draw its
// chart and show it in an image window until a key is pressed. Nothing is saved.
#include <string_view>

#include "platform/host.h"
#include "viewers/file_charts.h"

namespace plexo {

inline constexpr std::string_view kWrongFiletypeMessage =
    "Filetype has the wrong format! Provide a valid file!";
inline constexpr std::string_view kNoDataMessage =
    "No data present in file or error during loading!";

// True when the text from the last "." of the path (the whole path without one) is exactly
// ".txt": the viewers, unlike the calculations, refuse ".TXT".
bool HasViewerExtension(std::string_view path);

// The viewer of `kind`: a cancelled picker or another extension gets kWrongFiletypeMessage, an
// unreadable or empty file kNoDataMessage; otherwise the chart is shown under its title.
// kDone when a chart was shown, kRefused otherwise.
CalcStatus ViewFile(ViewerKind kind, ViewerWorkspace& workspace, Host& host);

inline CalcStatus ViewWaveformFile(ViewerWorkspace& workspace, Host& host) {
  return ViewFile(ViewerKind::kWaveform, workspace, host);
}
inline CalcStatus ViewFftFile(ViewerWorkspace& workspace, Host& host) {
  return ViewFile(ViewerKind::kFft, workspace, host);
}
inline CalcStatus ViewTftFile(ViewerWorkspace& workspace, Host& host) {
  return ViewFile(ViewerKind::kTft, workspace, host);
}

}  // namespace plexo
