#include <cstdint>
#include <string_view>

#include "signal/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const double value = plexo::ParseDouble(text);
  plexo::ParseInt(text);
  plexo::FormatE(value, 14);
  plexo::FormatF(value, 6);
  plexo::TruncateToInt(value);
  return 0;
}
