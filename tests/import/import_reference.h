#pragma once
// Plain readings of the exports for comparing imports against: the numbers of a column taken
// straight from the text, and the textbook DFT.
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "signal/complex.h"

namespace plexo::testing {

// The folder of the real recordings: $PLEXO_REALDATA when set (a checkout elsewhere), else
// the one beside the source tree.
inline std::string RealDataDir() {
  const char* folder = std::getenv("PLEXO_REALDATA");
  return folder != nullptr && *folder != '\0' ? folder : PLEXO_REALDATA_DIR;
}

// Column `column` (0 or 1, comma-separated) of every line from `first_line` on.
inline std::vector<double> ColumnOf(const std::string& text, int first_line, int column) {
  std::vector<double> values;
  std::istringstream in(text);
  std::string line;
  for (int n = 0; std::getline(in, line); ++n) {
    if (n < first_line || line.find_first_not_of(" \t\r") == std::string::npos) continue;
    const size_t comma = line.find(',');
    values.push_back(std::strtod(column == 0 ? line.c_str() : line.c_str() + comma + 1, nullptr));
  }
  return values;
}

// X[k] = sum over n of x[n] e^(-2 pi i k n / N), x zero-padded to N.
inline std::vector<Complex> PlainDft(const std::vector<double>& x, int n) {
  std::vector<Complex> out(n);
  for (int k = 0; k < n; ++k) {
    long double re = 0, im = 0;
    for (size_t j = 0; j < x.size(); ++j) {
      const long double a = -2.0L * M_PI * ((static_cast<long>(k) * j) % n) / n;
      re += x[j] * std::cos(a);
      im += x[j] * std::sin(a);
    }
    out[k] = {static_cast<double>(re), static_cast<double>(im)};
  }
  return out;
}

}  // namespace plexo::testing
