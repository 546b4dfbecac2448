#pragma once
// Sharing a sorted list out in contiguous runs: part p of `parts` gets items
// count*p/parts .. count*(p+1)/parts - 1, so the runs follow each other in list order, cover it
// once and differ in length by at most one.
#include <cstdint>

namespace plexo {

struct ItemRange {
  int begin = 0;
  int end = 0;  // one past the last
};

inline ItemRange ContiguousPart(int count, int parts, int part) {
  const auto edge = [&](int p) {
    return static_cast<int>(static_cast<int64_t>(count) * p / (parts > 0 ? parts : 1));
  };
  return ItemRange{edge(part), edge(part + 1)};
}

}  // namespace plexo
