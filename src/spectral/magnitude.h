#pragma once
// |x| of every bin of a transform, bit for bit what std::hypot gives, in bulk.
#include "signal/complex.h"

namespace plexo {

// out[i] = std::hypot(x[i].re, x[i].im) for i < n.
//
// The C library's hypot on this platform (glibc 2.35 and later) is a square root of the sum of
// squares followed by one correction step, every operation a single IEEE rounding. Those
// operations are done here four bins at a time with AVX2 where the processor has it; bins the
// library would treat apart (a zero, subnormal, huge or non-finite part, or parts so unequal
// that the smaller cannot count) are handed to std::hypot itself. The first call compares the
// bulk path with std::hypot on a set of hard cases and uses std::hypot alone if any differs,
// so another C library can change the speed, never the bits.
void Magnitudes(const Complex* x, int n, double* out);

// The path Magnitudes takes on this machine, for tests and benchmarks: "avx2" (four bins at a
// time), "scalar" (the same operations one bin at a time) or "library" (std::hypot throughout).
const char* MagnitudesPathName();

}  // namespace plexo
