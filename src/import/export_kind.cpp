#include "import/export_kind.h"

#include <algorithm>

#include "import/export_text.h"

namespace plexo {
namespace {

bool Contains(std::string_view line, std::string_view key) {
  return line.find(key) != std::string_view::npos;
}

// A key that the waveform readers look for in a header line.
bool IsHeaderKeyLine(std::string_view line) {
  return Contains(line, "SAMPLE INTERVAL") || Contains(line, "CHANNEL NUMBER") ||
         Contains(line, "TIME OF TEST");
}

bool AnyLine(const std::vector<std::string_view>& lines, size_t first, size_t end,
             std::string_view key) {
  end = std::min(end, lines.size());
  for (size_t i = first; i < end; ++i)
    if (Contains(lines[i], key)) return true;
  return false;
}

}  // namespace

std::string_view ExportKindName(ExportKind kind) {
  switch (kind) {
    case ExportKind::kNineLine:
      return "nine-line waveform file";
    case ExportKind::kCsvExport:
      return "twelve-line CSV export";
    case ExportKind::kHeaderless:
      return "headerless column of samples";
    case ExportKind::kDatabaseRecord:
      return "waveform database record";
    case ExportKind::kUnknown:
      break;
  }
  return "unknown";
}

ExportKind RecogniseExport(const std::vector<std::string_view>& lines) {
  if (lines.empty()) return ExportKind::kUnknown;
  if (ParseNumberField(lines[0])) return ExportKind::kHeaderless;

  // The CSV export announces its point count and separates its header by a blank line.
  if (lines.size() > static_cast<size_t>(kCsvHeaderLines) &&
      AnyLine(lines, 0, kCsvHeaderLines, "NUMBER OF DATA POINTS PER WAVEFORM") &&
      AnyLine(lines, 0, kCsvHeaderLines, "SAMPLE INTERVAL") &&
      TrimBlanks(lines[kCsvHeaderLines]).empty())
    return ExportKind::kCsvExport;

  // The nine-line layout: header keys in lines 0 to 8 and none among the samples that follow
  // (a longer header would otherwise lose its last lines as samples).
  bool has_key = false;
  for (size_t i = 0; i < std::min<size_t>(lines.size(), kNineLineFirstSample); ++i)
    has_key = has_key || IsHeaderKeyLine(lines[i]);
  if (!has_key) return ExportKind::kUnknown;
  const size_t look_end = std::min<size_t>(lines.size(), kCsvFirstRowLine + 1);
  for (size_t i = kNineLineFirstSample; i < look_end; ++i)
    if (IsHeaderKeyLine(lines[i]) || Contains(lines[i], "UNITS") || Contains(lines[i], ":"))
      return ExportKind::kUnknown;
  return ExportKind::kNineLine;
}

}  // namespace plexo
