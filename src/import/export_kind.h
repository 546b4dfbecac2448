#pragma once
// Which kind of waveform export a text is, decided from its first lines.
#include <string_view>
#include <vector>

namespace plexo {

enum class ExportKind {
  kUnknown,         // fits none of the kinds below
  kNineLine,        // the program's own layout: nine header lines, then one sample per line
  kCsvExport,       // eleven header lines, a blank line, then "time, volts" rows
  kHeaderless,      // one sample per line from the first line on
  kDatabaseRecord,  // a record of a waveform database (.tradb), not a text
};

// The name used in messages ("nine-line waveform file", ...).
std::string_view ExportKindName(ExportKind kind);

// Header lines of the CSV export before its blank line.
inline constexpr int kCsvHeaderLines = 11;
// Lines before the first row of the CSV export (its header and the blank line).
inline constexpr int kCsvFirstRowLine = 12;
// Lines before the first sample of the nine-line layout.
inline constexpr int kNineLineFirstSample = 9;

// Decides the kind from the first lines (as SplitExportLines returns them); only the first
// kCsvFirstRowLine + 1 lines are looked at.
ExportKind RecogniseExport(const std::vector<std::string_view>& lines);

}  // namespace plexo
