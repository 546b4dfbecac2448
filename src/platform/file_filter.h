#pragma once
// File-picker filters are written as "Name(*.ext)|*.ext||": pairs of a description and a
// ";"-separated pattern list, each followed by "|", the list ended by an extra "|".
#include <string>
#include <string_view>
#include <vector>

namespace plexo {

struct FileFilterEntry {
  std::string description;
  std::vector<std::string> patterns;
};

// The entries of a filter; a description without patterns is dropped.
std::vector<FileFilterEntry> ParseFileFilter(std::string_view filter);

}  // namespace plexo
