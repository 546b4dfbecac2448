#include "timefreq/gabor.h"

#include <cmath>

namespace plexo {

Complex GaborWavelet(double t, double omega) {
  const double pi_quarter = std::pow(3.141592653589793, -0.25);
  const double u = omega * t / kGaborGamma;
  const double envelope = pi_quarter * std::sqrt(omega / kGaborGamma) * std::exp(-0.5 * u * u);
  const double phase = omega * t;
  return {envelope * std::cos(phase), envelope * std::sin(phase)};
}

double GaborScale(int row, double freqStep, double dt) {
  return kGaborScaleFactor * std::pow(row * freqStep * dt, -1.0);
}

void FillGaborTable(double s, double dt, int n, int first, int last, double* re, double* im) {
  const double omega = kGaborOmegaTimesDt / dt;
  const double root_s = std::sqrt(s);
  const int c0 = static_cast<int>((static_cast<long long>(n) + 1) / 2);
  for (int j = first; j < last; ++j) {
    const double t = (j * dt - c0 * dt) / s;
    const Complex w = GaborWavelet(t, omega);
    re[j - first] = w.re / root_s;
    im[j - first] = w.im / root_s;
  }
}

}  // namespace plexo
