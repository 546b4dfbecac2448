#include "spectral/transfer_function.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

#include "platform/text_lines.h"
#include "signal/number_text.h"
#include "signal/waveform.h"

namespace plexo {

namespace {

bool IsBlankLine(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool OnlyBlankLinesLeft(LineSplitter lines) {
  std::string_view line;
  while (lines.Next(line)) {
    if (!IsBlankLine(line)) return false;
  }
  return true;
}

// A data line is "real" or "real<TAB>imaginary", each one finite number with nothing but
// blanks around it: atof's prefix rule would read "0,5" as 0 and "nan" would fill the result
// with NaN.
bool ReadBinLine(std::string_view line, Complex& value) {
  const size_t tab = line.find('\t');
  double im = 0.0;
  if (!ParseWholeNumber(line.substr(0, tab), value.re)) {
    // Blanks may stand before the number, tabs included.
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || first == 0) return false;
    return ReadBinLine(line.substr(first), value);
  }
  if (tab != std::string_view::npos && !ParseWholeNumber(line.substr(tab + 1), im)) return false;
  value.im = im;
  return std::isfinite(value.re) && std::isfinite(value.im);
}

std::string BadBinMessage(const std::string& path, int line_number, std::string_view line) {
  constexpr size_t kShown = 40;
  std::string text = "Line \"" + std::string(line.substr(0, kShown)) +
                     (line.size() > kShown ? "...\"" : "\"") + " (line " +
                     std::to_string(line_number) + ") of the transfer function " + path;
  if (LooksLikeDecimalComma(line.substr(0, line.find('\t'))))
    return text + " has a decimal comma: a bin is \"real<TAB>imaginary\" with decimal points!";
  return text + " is not \"real<TAB>imaginary\" of two finite numbers!";
}

}  // namespace

int ReadTransferFunction(const std::string& path, std::vector<Complex>& transfer,
                         std::string* problem, int capacity) {
  if (problem != nullptr) problem->clear();
  capacity = std::max(capacity, MAX_SAMPLES);
  if (transfer.size() < static_cast<size_t>(capacity) + 1) transfer.resize(capacity + 1);
  FileBytes bytes;
  if (ReadWholeFile(path, bytes) != kFileRead) return -1;
  LineSplitter lines(bytes.Text());
  std::string_view line;
  lines.Next(line);  // the title line
  int k = 0;
  while (k < INT_MAX) {
    ++k;
    if (!lines.Next(line)) break;
    Complex value;
    if (!ReadBinLine(line, value)) {
      if (IsBlankLine(line) && OnlyBlankLinesLeft(lines)) break;  // blank lines end the file
      if (problem != nullptr) *problem = BadBinMessage(path, k + 1, line);
      return -1;
    }
    if (k > capacity) continue;  // counted, not stored
    transfer[k] = value;
  }
  return k;
}

Complex MultiplyByTransfer(Complex x, Complex t) {
  return {x.re * t.re - x.im * t.im, x.re * t.im + x.im * t.re};
}

Complex DivideByTransfer(Complex x, Complex t) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  if (std::isnan(t.re) || std::isnan(t.im)) return {kNaN, kNaN};
  double d = 0.0;
  Complex q;
  if (std::abs(t.re) > std::abs(t.im)) {
    const double r = t.im / t.re;
    d = t.re + t.im * r;
    q = {(x.re + x.im * r) / d, (x.im - x.re * r) / d};
  } else {
    if (t.im == 0.0) return {kNaN, kNaN};  // both parts are zero
    const double r = t.re / t.im;
    d = t.im + t.re * r;
    q = {(x.re * r + x.im) / d, (x.im * r - x.re) / d};
  }
  if (std::isnan(d) || d == 0.0) return {kNaN, kNaN};
  return q;
}

}  // namespace plexo
