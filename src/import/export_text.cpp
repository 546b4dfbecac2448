#include "import/export_text.h"

#include <charconv>
#include <string>

namespace plexo {

std::vector<std::string_view> SplitExportLines(std::string_view text) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(3);
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string_view TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::optional<double> ParseNumberField(std::string_view field) {
  field = TrimBlanks(field);
  if (field.empty() || field.size() > 64) return std::nullopt;
  std::string number(field);
  if (number.find('.') == std::string::npos) {
    const size_t comma = number.find(',');
    if (comma != std::string::npos && number.find(',', comma + 1) == std::string::npos)
      number[comma] = '.';
  }
  // from_chars takes no leading '+'; a sign followed by a second sign stays an error.
  size_t begin = 0;
  if (number[0] == '+') {
    begin = 1;
    if (number.size() == 1 || number[1] == '-' || number[1] == '+') return std::nullopt;
  }
  double value = 0.0;
  const char* first = number.data() + begin;
  const char* last = number.data() + number.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (end != last) return std::nullopt;
  if (error == std::errc::result_out_of_range) return std::nullopt;
  if (error != std::errc()) return std::nullopt;
  return value;
}

}  // namespace plexo
