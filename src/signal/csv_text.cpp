#include "signal/csv_text.h"

namespace plexo {

const char* TableExtension(TableFormat format) {
  return format == TableFormat::kCsv ? ".csv" : ".txt";
}

void AppendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::string CsvColumnTitle(std::string_view title, std::string_view unit) {
  std::string text(title);
  if (!unit.empty()) {
    text += " [";
    text += unit;
    text += ']';
  }
  return text;
}

}  // namespace plexo
