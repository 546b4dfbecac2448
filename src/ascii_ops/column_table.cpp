#include "ascii_ops/column_table.h"

#include <string_view>

#include "signal/number_text.h"
#include "signal/text_file.h"
#include "signal/text_lines.h"

namespace plexo {

double ColumnTable::Value(int line, int field) const {
  if (line < 0 || field < 1 || static_cast<size_t>(line) >= values.size()) return 0.0;
  const std::vector<double>& row = values[static_cast<size_t>(line)];
  const size_t index = static_cast<size_t>(field) - 1;
  return index < row.size() ? row[index] : 0.0;
}

int ReadColumnTable(const std::string& path, ColumnTable& table) {
  table = ColumnTable();
  FileBytes bytes;
  switch (ReadWholeFile(path, bytes)) {
    case kFileRead:
      break;
    case kFileReadError:
      ReportFileError();
      return -1;
    case kFileNotOpened:
      return -1;
  }

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
      const double value = ParseDouble(line.substr(position, end - position));
      if (fields == 0) {
        if (lines == 0) t0 = value;
        if (lines == 1) t1 = value;
      } else if (row != nullptr && fields < kMaxTableFields) {
        row->push_back(value);
      }
      if (fields < INT32_MAX) ++fields;
    }
    last_fields = fields;
    if (fields > table.widestLine) table.widestLine = fields;
    if (lines == INT32_MAX) break;  // a count beyond int cannot be returned
    ++lines;
  }
  table.sampleInterval = t1 - t0;
  table.columnCount = last_fields - 1;
  return lines;
}

}  // namespace plexo
