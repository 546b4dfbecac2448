// Both localisation listings: any text converts without reading past a line.
#include "ascii_ops/location_conversion.h"
#include "fuzz_input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = plexo::fuzz::WriteInput(data, size);
  std::vector<std::string> lines;
  if (!plexo::ReadTextLines(path, lines)) return 0;
  plexo::NullProgress progress;
  plexo::ConvertAewinListing(lines, progress);
  plexo::ConvertVisualAeListing(lines, progress);
  return 0;
}
