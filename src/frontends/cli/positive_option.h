#pragma once
// Checks for options that give a length, a count or a resolution: zero or a negative value has
// no meaning there (a wavelet of -100 samples gives an all-zero map), so it is refused at the
// command line with a message and a non-zero exit instead of reaching the calculation.
#include <CLI/CLI.hpp>
#include <cmath>
#include <string>

#include "signal/number_text.h"

namespace plexo::cli {

// A finite number > 0, read as the program reads numbers (atof rules), so that the text means
// what the calculation will take from it.
inline CLI::Validator PositiveNumberCheck() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        const double value = ParseDouble(text);
        if (std::isfinite(value) && value > 0.0) return {};
        return "Value " + text + " is not allowed: give a number > 0";
      },
      "> 0");
}

// A whole number >= 1 (atoi rules: "50.7" is 50).
inline CLI::Validator PositiveCountCheck() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        if (ParseInt(text) >= 1) return {};
        return "Value " + text + " is not allowed: give a whole number >= 1";
      },
      ">= 1");
}

}  // namespace plexo::cli
