#include "signal/number_text.h"

#include <fast_float/fast_float.h>
#include <locale.h>

#include <array>
#include <bit>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace plexo {
namespace {

locale_t CLocale() {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c_locale;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Longer numeric texts than this are left to strtod, which sees at most 511 characters.
constexpr std::ptrdiff_t kLongestFastNumber = 400;

// Powers of ten that doubles hold exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Appends the run of decimal digits at p to `mantissa` (mantissa * 10^n + digits) and moves p
// past it; returns n. Eight bytes at a time while eight can be read: the digits are found and
// combined inside one 64-bit word (bytes in memory order, the first the most significant
// digit), which gives the integer the digit-by-digit loop gives. Unsigned arithmetic: a run
// longer than a mantissa holds wraps harmlessly (the caller refuses it by its length).
inline std::ptrdiff_t AppendDigits(const char*& p, const char* last, uint64_t& mantissa) {
  static constexpr uint64_t kPowersOfTen[] = {1,      10,      100,      1000,     10000,
                                              100000, 1000000, 10000000, 100000000};
  const char* start = p;
  while (last - p >= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    const uint64_t values = word ^ 0x3030303030303030u;  // a digit byte becomes 0 .. 9
    // A byte is no digit when it is 10 or more: then byte + 0x76 or the byte itself has its
    // top bit set. A carry out of such a byte can only disturb the bytes after it.
    const uint64_t not_digit = ((values + 0x7676767676767676u) | values) & 0x8080808080808080u;
    const int n = not_digit == 0 ? 8 : std::countr_zero(not_digit) / 8;
    if (n == 0) break;
    // The n digits into the top bytes, zeros (leading zeros) below them, then pairwise sums.
    uint64_t v = values << (8 * (8 - n));
    v = (v * 10 + (v >> 8)) & 0x00FF00FF00FF00FFu;
    v = (v * 100 + (v >> 16)) & 0x0000FFFF0000FFFFu;
    v = (v * 10000 + (v >> 32)) & 0x00000000FFFFFFFFu;
    mantissa = mantissa * kPowersOfTen[n] + v;
    p += n;
    if (n < 8) return p - start;
  }
  while (p != last && IsDigit(*p)) mantissa = mantissa * 10 + static_cast<uint64_t>(*p++ - '0');
  return p - start;
}

// The sample lines' own form, "[-]digits[.digits]" with at most 15 digits and no exponent: the
// digits form an integer below 2^53 and the scale a power of ten up to 1e22, both exact as
// doubles, so one division gives the correctly rounded value strtod gives (Clinger's fast path).
// Returns where the number ends, or nullptr (nothing decided) for every other text. The caller
// checks what follows: strtod would read on into an exponent or a second point.
const char* ParseShortFixed(const char* p, const char* last, bool negative, double& value) {
  // The integer part is mostly a single digit: a plain loop; the fraction in words.
  uint64_t mantissa = 0;
  const char* integer = p;
  while (p != last && IsDigit(*p)) mantissa = mantissa * 10 + static_cast<uint64_t>(*p++ - '0');
  const std::ptrdiff_t integer_digits = p - integer;
  std::ptrdiff_t fraction_digits = 0;
  if (p != last && *p == '.') {
    ++p;
    fraction_digits = AppendDigits(p, last, mantissa);
  }
  const std::ptrdiff_t digits = integer_digits + fraction_digits;
  if (digits == 0 || digits > 15) return nullptr;
  value = static_cast<double>(mantissa) / kExactPowersOfTen[fraction_digits];
  if (negative) value = -value;
  return p;
}

bool IsCBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Pads the exponent of to_chars' scientific text ("e-05", "e+123") to at least three digits.
void AppendScientific(std::string& out, const char* first, const char* last) {
  const char* e = first;
  while (e != last && *e != 'e') ++e;
  out.append(first, e);
  if (e == last) return;  // inf or nan
  out.push_back('e');
  out.push_back(e[1]);
  const char* digits = e + 2;
  for (std::ptrdiff_t n = last - digits; n < 3; ++n) out.push_back('0');
  out.append(digits, last);
}

}  // namespace

double ParseDouble(std::string_view text) {
  const char* first = text.data();
  const char* last = first + text.size();
  while (first != last && IsCBlank(*first)) ++first;
  // The fast path takes only what it parses exactly as strtod does: an optional minus, then a
  // digit or a point. A '+', "inf", "nan" or a hex prefix ("0x" stops fast_float after the 0)
  // go to strtod, and so does a number running into letters, or one long enough for strtod's
  // 511-character cut to matter.
  const char* digits = first != last && *first == '-' ? first + 1 : first;
  if (digits == last || !(IsDigit(*digits) || *digits == '.')) return ParseDoubleByStrtod(text);
  double value = 0.0;
  const char* end = ParseShortFixed(digits, last, *first == '-', value);
  if (end != nullptr && (end == last || !(IsAsciiLetter(*end) || *end == '.'))) return value;
  const fast_float::from_chars_result result = fast_float::from_chars(first, last, value);
  if (result.ec != std::errc() || result.ptr - first >= kLongestFastNumber ||
      (result.ptr != last && IsAsciiLetter(*result.ptr)) || std::isinf(value)) {
    return ParseDoubleByStrtod(text);
  }
  return value;
}

double ParseDoubleByStrtod(std::string_view text) {
  // strtod needs a terminated string; numeric prefixes longer than this are not real numbers
  // in any file the program reads, but keep the whole prefix when it fits.
  std::array<char, 512> buffer;  // not zero-filled: this runs once per sample line
  size_t start = 0;
  while (start < text.size() && IsCBlank(text[start])) ++start;
  size_t length = std::min(text.size() - start, buffer.size() - 1);
  text.substr(start, length).copy(buffer.data(), length);
  buffer[length] = '\0';
  return strtod_l(buffer.data(), nullptr, CLocale());
}

const char* ParsePlainDecimalLine(const char* p, const char* last, double& value) {
  const bool negative = p != last && *p == '-';
  const char* end = ParseShortFixed(p + (negative ? 1 : 0), last, negative, value);
  if (end == nullptr) return nullptr;
  if (end != last && *end == '\r') ++end;
  if (end == last) return end;
  return *end == '\n' ? end + 1 : nullptr;
}

namespace {

bool IsLineBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLineBlanks(std::string_view text) {
  while (!text.empty() && IsLineBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsLineBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

bool ParseWholeNumber(std::string_view text, double& value) {
  text = TrimLineBlanks(text);
  if (text.empty()) return false;
  const char* first = text.data();
  const char* last = first + text.size();
  // fast_float reads what strtod reads, at any length and correctly rounded, except a leading
  // '+' (skipped here) and hex numbers (rare: left to strtod, which says where they end).
  const bool plus = *first == '+';
  const char* digits = plus ? first + 1 : first;
  if (!(plus && digits != last && *digits == '-')) {
    const fast_float::from_chars_result result = fast_float::from_chars(digits, last, value);
    if (result.ptr == last) {
      if (result.ec != std::errc()) value = ParseDoubleByStrtod(text);  // out of range
      return true;
    }
  }
  if (text.size() >= 512) return false;  // no hex number of any file the program reads
  std::array<char, 512> buffer;
  text.copy(buffer.data(), text.size());
  buffer[text.size()] = '\0';
  char* end = nullptr;
  value = strtod_l(buffer.data(), &end, CLocale());
  return end == buffer.data() + text.size();
}

bool LooksLikeDecimalComma(std::string_view text) {
  text = TrimLineBlanks(text);
  const size_t comma = text.find(',');
  if (comma == std::string_view::npos || text.find(',', comma + 1) != std::string_view::npos)
    return false;
  std::string dotted(text);
  dotted[comma] = '.';
  double value = 0.0;
  return comma > 0 && IsDigit(text[comma - 1]) && ParseWholeNumber(dotted, value);
}

int ParseInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsCBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

void AppendE(std::string& out, double value, int precision) {
  std::array<char, 64> buffer;
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                              std::chars_format::scientific, precision);
  AppendScientific(out, buffer.data(), result.ptr);
}

void AppendF(std::string& out, double value, int precision) {
  // A fixed-point double can need 309 integer digits plus the fraction.
  std::array<char, 400> buffer;
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                              std::chars_format::fixed, precision);
  out.append(buffer.data(), result.ptr);
}

std::string FormatE(double value, int precision) {
  std::string out;
  AppendE(out, value, precision);
  return out;
}

std::string FormatF(double value, int precision) {
  std::string out;
  AppendF(out, value, precision);
  return out;
}

void AppendRoundTrip(std::string& out, double value) {
  std::array<char, 64> buffer;
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  out.append(buffer.data(), result.ptr);
}

std::string FormatRoundTrip(double value) {
  std::string out;
  AppendRoundTrip(out, value);
  return out;
}

std::string FormatD(long long value) { return std::to_string(value); }

int TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT_MAX;
  if (value <= -2147483648.0) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace plexo
