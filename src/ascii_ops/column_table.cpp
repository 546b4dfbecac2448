#include "ascii_ops/column_table.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "platform/text_file.h"
#include "platform/text_lines.h"
#include "signal/number_text.h"

namespace plexo {

double ColumnTable::Value(int line, int field) const {
  if (line < 0 || field < 1 || static_cast<size_t>(line) >= values.size()) return 0.0;
  const std::vector<double>& row = values[static_cast<size_t>(line)];
  const size_t index = static_cast<size_t>(field) - 1;
  return index < row.size() ? row[index] : 0.0;
}

namespace {

// The number of a field without its leading delimiter; a decimal comma counts as a point where
// commas do not separate the fields.
bool ParseField(std::string_view field, char delimiter, double& value) {
  if (!field.empty() && field.front() == delimiter) field.remove_prefix(1);
  if (delimiter != ',' && field.find(',') != std::string_view::npos) {
    std::string dotted(field);
    std::replace(dotted.begin(), dotted.end(), ',', '.');
    return ParseWholeNumber(dotted, value) && std::isfinite(value);
  }
  return ParseWholeNumber(field, value) && std::isfinite(value);
}

std::string BadFieldMessage(const std::string& path, int line, int field, std::string_view text) {
  constexpr size_t kShown = 40;
  std::string shown(text.substr(0, kShown));
  return "Field " + std::to_string(field + 1) + " \"" + shown + "\" on line " +
         std::to_string(line + 1) + " of " + path +
         " is not a finite number! The table is not split.";
}

}  // namespace

int ReadColumnTable(const std::string& path, ColumnTable& table) {
  table = ColumnTable();
  FileBytes bytes;
  if (!ReadWholeFileOrReport(path, bytes)) return -1;

  char delimiter = '\t';
  double t0 = 0.0;
  double t1 = 0.0;
  int lines = 0;
  int last_fields = 0;
  LineSplitter splitter(bytes.Text());
  std::string_view line;
  while (splitter.Next(line)) {
    if (line.find(',') != std::string_view::npos) delimiter = ',';
    if (line.find(';') != std::string_view::npos) delimiter = ';';
    if (line.find('\t') != std::string_view::npos) delimiter = '\t';

    std::vector<double>* row = nullptr;
    if (lines < kMaxTableLines) row = &table.values.emplace_back();
    int fields = 0;
    size_t position = 0;
    // The first field ends at the first delimiter after position 0, each later one at the
    // next delimiter after the one it starts with.
    for (size_t end; (end = line.find(delimiter, position + 1)) != std::string_view::npos;
         position = end) {
      const std::string_view field = line.substr(position, end - position);
      double value = 0.0;
      if (!ParseField(field, delimiter, value)) {
        const std::string problem = BadFieldMessage(path, lines, fields, field);
        table = ColumnTable();
        table.problem = problem;
        return -1;
      }
      if (fields == 0) {
        if (lines == 0) t0 = value;
        if (lines == 1) t1 = value;
      } else if (row != nullptr && fields < kMaxTableFields) {
        row->push_back(value);
      }
      if (fields < INT32_MAX) ++fields;
    }
    table.previousLineFields = last_fields;
    last_fields = fields;
    if (fields > table.widestLine) table.widestLine = fields;
    if (lines == INT32_MAX) break;  // a count beyond int cannot be returned
    ++lines;
  }
  table.sampleInterval = t1 - t0;
  table.columnCount = last_fields - 1;
  table.lastLineFields = last_fields;
  return lines;
}

}  // namespace plexo
