// Differential target: the fast number path, the strtod path and the C library's strtod_l must
// give the same bits for every text.
#include <locale.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "signal/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const uint64_t fast = std::bit_cast<uint64_t>(plexo::ParseDouble(text));
  const uint64_t slow = std::bit_cast<uint64_t>(plexo::ParseDoubleByStrtod(text));
  if (fast != slow) std::abort();
  // strtod reads up to the first NUL; the parsers cut numeric prefixes at 511 characters.
  if (size < 500) {
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string terminated(text);
    const double reference = strtod_l(terminated.c_str(), nullptr, c_locale);
    if (std::bit_cast<uint64_t>(reference) != fast) std::abort();
  }
  // A sample line read in one pass must give what ParseDouble gives for the same line.
  double line_value = 0.0;
  if (const char* next =
          plexo::ParsePlainDecimalLine(text.data(), text.data() + size, line_value)) {
    const std::string_view line = text.substr(0, static_cast<size_t>(next - text.data()));
    if (std::bit_cast<uint64_t>(line_value) != std::bit_cast<uint64_t>(plexo::ParseDouble(line)))
      std::abort();
  }
  return 0;
}
