#pragma once
// The FFT window choices offered by the Options dialog.
#include "signal/complex.h"

namespace plexo {

enum FftWindowIndex { kFftWindowNone = 0, kFftWindow200us = 1 };

// The "200µs" gate: zeroes entries i < 0.00024/dt and i >= trunc(0.00034/dt) of the first n
// entries, so only the samples from 240 µs to 340 µs remain. Comparisons are made in double, so
// a zero, negative or non-finite dt never reaches an integer conversion.
void ApplyTimeGate200us(Complex* data, int n, double dt);

}  // namespace plexo
