#include "spectral/time_gate.h"

#include <cmath>

namespace plexo {

void ApplyTimeGate200us(Complex* data, int n, double dt) {
  const double start = 0.00024 / dt;
  const double end = std::trunc(0.00034 / dt);
  for (int i = 0; i < n; ++i) {
    if (i < start || i >= end) data[i] = Complex{};
  }
}

}  // namespace plexo
