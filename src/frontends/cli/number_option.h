#pragma once
// Checks for the command line's number options. A value is read whole: a text that is not
// wholly a number of the option's kind ("abc", "5x", "1.5" for a count) is refused with a
// message naming the option (CLI11 puts the option's name before the text) instead of being
// read by its leading digits, and an integer may be written in any exact form ("1e3" is 1000:
// the check rewrites it as plain digits for the conversion that follows, so integer checks are
// given with ->transform(), which may change the text; ->check() may not). Zero or a negative
// value is refused where it has no meaning (a wavelet of -100 samples gives an all-zero map).
#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

namespace plexo::cli {

// The finite number the whole text is (blanks around it allowed), or nothing.
inline std::optional<double> WholeNumber(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const double value = std::strtod(begin, &end);
  if (end == begin) return std::nullopt;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

// The int the whole text is, written in any exact form ("1000", "1e3", "1000.0"), or nothing.
inline std::optional<int> WholeInteger(const std::string& text) {
  const std::optional<double> value = WholeNumber(text);
  if (!value || *value != std::floor(*value) || *value < -2147483648.0 || *value > 2147483647.0)
    return std::nullopt;
  return static_cast<int>(*value);
}

// Any finite number.
inline CLI::Validator NumberCheck() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        if (WholeNumber(text)) return {};
        return "Value " + text + " is not allowed: give a number";
      },
      "NUMBER");
}

// A finite number > 0.
inline CLI::Validator PositiveNumberCheck() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        const std::optional<double> value = WholeNumber(text);
        if (value && *value > 0.0) return {};
        return "Value " + text + " is not allowed: give a number > 0";
      },
      "> 0");
}

// A whole number >= `least`, rewritten as plain digits.
inline CLI::Validator IntegerCheck(int least = -2147483647 - 1) {
  return CLI::Validator(
      [least](std::string& text) -> std::string {
        const std::optional<int> value = WholeInteger(text);
        if (value && *value >= least) {
          text = std::to_string(*value);
          return {};
        }
        return "Value " + text + " is not allowed: give a whole number" +
               (least > -2147483647 - 1 ? " >= " + std::to_string(least) : std::string());
      },
      "INTEGER");
}

// A whole number >= 1, rewritten as plain digits.
inline CLI::Validator PositiveCountCheck() { return IntegerCheck(1).description(">= 1"); }

}  // namespace plexo::cli
