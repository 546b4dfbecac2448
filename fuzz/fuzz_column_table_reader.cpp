#include <cmath>
#include <cstdlib>

#include "ascii_ops/column_table.h"
#include "fuzz_input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = plexo::fuzz::WriteInput(data, size);
  static plexo::ColumnTable table;
  const int lines = plexo::ReadColumnTable(path, table);
  // Every value Split would take is inside the table or reads as 0, and is finite.
  for (int i = 0; i < lines && i < 64; ++i) {
    for (int c = 0; c < table.columnCount && c < 64; ++c) {
      if (!std::isfinite(table.Value(i, c + 1))) std::abort();
    }
  }
  return 0;
}
