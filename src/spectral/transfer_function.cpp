#include "spectral/transfer_function.h"

#include <climits>
#include <cmath>
#include <limits>

#include "signal/number_text.h"
#include "signal/text_lines.h"
#include "signal/waveform.h"

namespace plexo {

int ReadTransferFunction(const std::string& path, std::vector<Complex>& transfer) {
  if (transfer.size() < static_cast<size_t>(MAX_SAMPLES) + 1) transfer.resize(MAX_SAMPLES + 1);
  FileBytes bytes;
  if (ReadWholeFile(path, bytes) != kFileRead) return -1;
  LineSplitter lines(bytes.Text());
  std::string_view line;
  lines.Next(line);  // the title line
  int k = 0;
  while (k < INT_MAX) {
    ++k;
    if (!lines.Next(line)) break;
    if (k > MAX_SAMPLES) continue;  // counted, not stored
    const size_t tab = line.find('\t');
    transfer[k].re = ParseDouble(line);
    transfer[k].im = tab == std::string_view::npos ? 0.0 : ParseDouble(line.substr(tab + 1));
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
