#pragma once
// The vectorised column blocks of CwtRow (internal to cwt_row.cpp and its benchmark).
#include <cstddef>

#include "platform/simd.h"
#include "signal/complex.h"

namespace plexo::cwt_detail {

// The widest column block any kernel uses; the signal planes carry this much zero padding
// (less one) on both sides of the non-zero stretch.
inline constexpr int kMaxBlock = 32;

struct RowBlocksArgs {
  // Signal plane: re[k - planeBase] is signal index k. 64-byte aligned, with 8 zeros more
  // after the padding (the aligned kernel reads whole vectors).
  const double* re;
  const double* im;  // imaginary plane, null when every imaginary part is zero
  std::ptrdiff_t planeBase;
  std::ptrdiff_t first;  // the planes are zero outside signal indices [first, end)
  std::ptrdiff_t end;
  std::ptrdiff_t half;  // column i meets signal index i - half + j at tap j
  const double* wRe;    // wavelet table: wRe[j - tableFirst] for taps j in [tableFirst, tableEnd)
  const double* wIm;
  std::ptrdiff_t tableFirst;
  std::ptrdiff_t tableEnd;
  double dt;
  Complex* out;
  std::ptrdiff_t count;
};

// Fills out[0 .. count-1]. Each column's sums run over the taps in ascending order; taps whose
// signal value is zero (padding) may be included or not, which leaves the sums unchanged.
// `isa` must be supported (the builds give identical bits and differ only in speed).
void RowBlocks(const RowBlocksArgs& args, simd::Isa isa);

}  // namespace plexo::cwt_detail
