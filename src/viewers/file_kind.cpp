#include "viewers/file_kind.h"

#include <cstdio>
#include <vector>

#include "platform/file_system.h"

namespace plexo {
namespace {

constexpr int kLinesLookedAt = 9;
constexpr size_t kBytesLookedAt = 1 << 16;  // the start of a long header line is enough

// The first lines of the file, without their line ends; a line is cut where the look ends.
std::optional<std::vector<std::string>> FirstLines(const std::string& path) {
  std::FILE* file = OpenRegularFileStream(path);
  if (file == nullptr) return std::nullopt;
  std::string head(kBytesLookedAt, '\0');
  head.resize(std::fread(head.data(), 1, head.size(), file));
  std::fclose(file);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < head.size() && static_cast<int>(lines.size()) < kLinesLookedAt) {
    size_t end = head.find('\n', start);
    if (end == std::string::npos) end = head.size();
    std::string line = head.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

bool StartsWith(const std::string& text, std::string_view prefix) {
  return std::string_view(text).substr(0, prefix.size()) == prefix;
}

}  // namespace

std::optional<ViewerKind> DetectViewerKind(const std::string& path) {
  const auto lines = FirstLines(path);
  if (!lines || lines->empty()) return std::nullopt;
  const std::vector<std::string>& l = *lines;
  if (l[0].find("Average") != std::string::npos ||
      StartsWith(l[0], "Frequency:\tReal:\tImaginary:\tMagnitude:"))
    return ViewerKind::kFft;
  if (StartsWith(l[0], "Channel:") && l.size() > 3) {
    if (StartsWith(l[3], "Frequency[Hz]/Time[s]")) return ViewerKind::kTft;
    if (StartsWith(l[3], "Frequency:")) return ViewerKind::kFft;
  }
  for (const std::string& line : l) {
    if (StartsWith(line, "SAMPLE INTERVAL (Seconds):")) return ViewerKind::kWaveform;
  }
  return std::nullopt;
}

std::optional<ViewerKind> ViewerKindFromName(std::string_view name) {
  for (const ViewerKindEntry& entry : kViewerKinds) {
    if (name == entry.name) return entry.kind;
  }
  return std::nullopt;
}

}  // namespace plexo
