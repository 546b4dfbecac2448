#include "platform/file_filter.h"

namespace plexo {

namespace {

std::vector<std::string> SplitPatterns(std::string_view list) {
  std::vector<std::string> patterns;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(';', start);
    if (end == std::string_view::npos) end = list.size();
    std::string_view pattern = list.substr(start, end - start);
    while (!pattern.empty() && pattern.front() == ' ') pattern.remove_prefix(1);
    while (!pattern.empty() && pattern.back() == ' ') pattern.remove_suffix(1);
    if (!pattern.empty()) patterns.emplace_back(pattern);
    start = end + 1;
  }
  return patterns;
}

}  // namespace

std::vector<FileFilterEntry> ParseFileFilter(std::string_view filter) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (start < filter.size()) {
    size_t end = filter.find('|', start);
    if (end == std::string_view::npos) end = filter.size();
    fields.push_back(filter.substr(start, end - start));
    start = end + 1;
  }
  std::vector<FileFilterEntry> entries;
  for (size_t i = 0; i + 1 < fields.size(); i += 2) {
    if (fields[i].empty()) break;  // the closing "||"
    FileFilterEntry entry{std::string(fields[i]), SplitPatterns(fields[i + 1])};
    if (!entry.patterns.empty()) entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace plexo
