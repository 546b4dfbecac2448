#include "features/feature_csv.h"

#include <string_view>
#include <vector>

#include "features/feature_extraction.h"
#include "signal/csv_text.h"

namespace plexo {
namespace {

// The fields of one line of the .txt header ("a\tb\t\n"): each ends with a tab.
std::vector<std::string_view> TabFields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t')) {
    fields.push_back(line.substr(0, tab));
    line.remove_prefix(tab + 1);
  }
  return fields;
}

}  // namespace

std::string FeatureCsvHeader(const FeatureColumns& columns, bool withFileNames) {
  // The titles and units of the .txt table's two header lines, so that both tables name their
  // columns alike.
  const std::string lines = FeatureHeaderLines(columns, withFileNames);
  const size_t end = lines.find('\n');
  const std::string_view text(lines);
  const std::vector<std::string_view> titles = TabFields(text.substr(0, end));
  const std::vector<std::string_view> units = TabFields(text.substr(end + 1));
  std::string header;
  for (size_t c = 0; c < titles.size(); ++c) {
    if (c > 0) header += ',';
    AppendCsvField(header, CsvColumnTitle(titles[c], c < units.size() ? units[c] : ""));
  }
  header += kCsvRowEnd;
  return header;
}

void AppendFeatureCsvRow(std::string& out, const FeatureValues& values,
                         const FeatureColumns& columns, const std::string* fileName) {
  bool first = true;
  if (fileName != nullptr) {
    AppendCsvField(out, *fileName);
    first = false;
  }
  for (int c = 0; c < kFeatureColumnCount; ++c) {
    if (!columns.test(c)) continue;
    if (!first) out += ',';
    first = false;
    AppendFeatureCell(out, values, c);  // a number: never a character that needs quotes
  }
  out += kCsvRowEnd;
}

}  // namespace plexo
