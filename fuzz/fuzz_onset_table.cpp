// The onset file's reader on arbitrary text (the file is edited by hand): a text it refuses is
// named; a table it accepts holds named, distinct rows with samples >= 0, and writing it and
// reading it back gives the same names, samples and states.
#include <cstdlib>
#include <set>
#include <string>

#include "features/onset_table.h"
#include "fuzz_input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  plexo::OnsetTable table;
  std::string why;
  if (!plexo::ReadOnsetTable(plexo::fuzz::WriteInput(data, size), table, why)) {
    if (why.empty()) std::abort();
    return 0;
  }
  std::set<std::string> names;
  for (const plexo::OnsetRow& row : table.Rows()) {
    if (row.name.empty() || !names.insert(row.name).second) std::abort();
    if (row.automaticSample < 0 || row.correctedSample < 0) std::abort();
  }
  const std::string text = plexo::OnsetTableText(table);
  std::string written;
  for (char c : text) {
    if (c == '\n') written.push_back('\r');
    written.push_back(c);
  }
  plexo::OnsetTable again;
  if (!plexo::ReadOnsetTable(
          plexo::fuzz::WriteInput(reinterpret_cast<const uint8_t*>(written.data()), written.size()),
          again, why))
    std::abort();
  if (again.Count() != table.Count() || again.database != table.database) std::abort();
  for (int i = 0; i < table.Count(); ++i) {
    const plexo::OnsetRow& a = table.Rows()[i];
    const plexo::OnsetRow& b = again.Rows()[i];
    if (a.name != b.name || a.automaticSample != b.automaticSample ||
        a.correctedSample != b.correctedSample || a.state != b.state)
      std::abort();
  }
  return 0;
}
