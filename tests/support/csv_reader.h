#pragma once
// A plain reader of comma-separated text for the tests, written from the format's rules alone:
// rows end with CR LF, fields are separated by commas, a field in quotes may hold commas, CR, LF
// and doubled quotes. Anything else (a bare CR or LF between fields, text after a closing quote,
// a quote inside an unquoted field, a last row without CR LF) is a fault it reports.
#include <string>
#include <vector>

namespace plexo::testing {

struct CsvText {
  std::vector<std::vector<std::string>> rows;
  std::string fault;  // empty when the text keeps every rule
};

inline CsvText ReadCsv(const std::string& text) {
  CsvText csv;
  std::vector<std::string> row;
  std::string field;
  size_t i = 0;
  const auto fail = [&](const std::string& why) {
    csv.fault = why + " at byte " + std::to_string(i);
    return csv;
  };
  while (i < text.size()) {
    if (text[i] == '"') {
      ++i;
      for (;;) {
        if (i >= text.size()) return fail("unclosed quote");
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        field += text[i++];
      }
    } else {
      while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
        if (text[i] == '"') return fail("quote inside an unquoted field");
        field += text[i++];
      }
    }
    if (i >= text.size()) return fail("last row without CR LF");
    if (text[i] == ',') {
      row.push_back(std::move(field));
      field.clear();
      ++i;
    } else if (text.compare(i, 2, "\r\n") == 0) {
      row.push_back(std::move(field));
      field.clear();
      csv.rows.push_back(std::move(row));
      row.clear();
      i += 2;
    } else {
      return fail("a line end that is not CR LF, or text after a closing quote");
    }
  }
  return csv;
}

// The lines of a tab-separated table with CR LF line ends, each split at its tabs; `trailing`
// when every line ends with a tab (which gives no field).
inline std::vector<std::vector<std::string>> ReadTabTable(const std::string& text, bool trailing) {
  std::vector<std::vector<std::string>> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    if (end == std::string::npos) break;
    std::string line = text.substr(at, end - at);
    if (trailing && !line.empty() && line.back() == '\t') line.pop_back();
    std::vector<std::string> fields;
    size_t from = 0;
    for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', from)) {
      fields.push_back(line.substr(from, tab - from));
      from = tab + 1;
    }
    fields.push_back(line.substr(from));
    lines.push_back(std::move(fields));
    at = end + 2;
  }
  return lines;
}

}  // namespace plexo::testing
