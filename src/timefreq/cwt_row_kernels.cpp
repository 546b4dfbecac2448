// Column-vectorised kernels of CwtRow. A block of columns shares each wavelet tap: the tap is
// broadcast, the block's signal values are one unaligned load per vector, and every lane keeps
// its own running sums, so each column still adds its terms one by one in tap order (the
// compiler cannot reassociate: no fast-math, no contraction). Three builds of the same template
// (AVX-512, AVX2, SSE2) are chosen once at run time; the AVX-512 build of the real case replaces
// the unaligned loads by aligned ones and lane shifts. All produce identical bits.
#include "timefreq/cwt_row_kernels.h"

#include <algorithm>
#include <utility>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace plexo::cwt_detail {
namespace {

using simd::Load;
using Vec2 = simd::Double2;
using Vec4 = simd::Double4;
using Vec8 = simd::Double8;

// kVecs vectors of V per block. kReal: the imaginary plane is zero, so each term reduces to
// sumRe += w.re*x and sumIm -= w.im*x (see cwt_row.cpp for why that is bit-identical).
template <typename V, int kVecs, bool kReal>
[[gnu::always_inline]] inline void Blocks(const RowBlocksArgs& a) {
  constexpr int kLanes = sizeof(V) / sizeof(double);
  constexpr int kBlock = kLanes * kVecs;
  static_assert(kBlock <= kMaxBlock);
  for (std::ptrdiff_t i0 = 0; i0 < a.count; i0 += kBlock) {
    // Taps at which some lane of the block meets the non-zero stretch.
    const std::ptrdiff_t jlo = std::max(a.tableFirst, a.first - (i0 + kBlock - 1) + a.half);
    const std::ptrdiff_t jhi = std::min(a.tableEnd, a.end - i0 + a.half);
    V sumRe[kVecs];
    V sumIm[kVecs];
#pragma GCC unroll 8
    for (int v = 0; v < kVecs; ++v) sumRe[v] = sumIm[v] = V{};
    if (jlo < jhi) {
      const std::ptrdiff_t offset = i0 - a.half + jlo - a.planeBase;
      const double* xr = a.re + offset;
      const double* xi = kReal ? nullptr : a.im + offset;
      const double* wr = a.wRe + (jlo - a.tableFirst);
      const double* wi = a.wIm + (jlo - a.tableFirst);
      for (std::ptrdiff_t j = jlo; j < jhi; ++j) {
        const double tr = *wr++;
        const double ti = *wi++;
#pragma GCC unroll 8
        for (int v = 0; v < kVecs; ++v) {
          V x;
          Load(x, xr + v * kLanes);
          if constexpr (kReal) {
            sumRe[v] += x * tr;
            sumIm[v] -= x * ti;
          } else {
            V y;
            Load(y, xi + v * kLanes);
            sumRe[v] += x * tr + y * ti;
            sumIm[v] += y * tr - x * ti;
          }
        }
        ++xr;
        if constexpr (!kReal) ++xi;
      }
    }
    const std::ptrdiff_t valid = std::min<std::ptrdiff_t>(kBlock, a.count - i0);
    for (std::ptrdiff_t l = 0; l < valid; ++l) {
      a.out[i0 + l] = {a.dt * sumRe[l / kLanes][l % kLanes], a.dt * sumIm[l / kLanes][l % kLanes]};
    }
  }
}

#if defined(__x86_64__)
// Helpers of the AVX-512 kernel: compiled for that target and always inlined into it.
#define PLEXO_AVX512 __attribute__((target("avx512f"), always_inline)) inline

// Tap `shift` of a group of 8 for one vector of the block: its lanes start `shift` elements
// after the aligned vector `here`, i.e. they are next:here shifted down by `shift` lanes (one
// valignq), which spares a load that would straddle two cache lines.
template <int shift>
PLEXO_AVX512 void ShiftedTap(const Vec8& here, const Vec8& next, double tr, double ti, Vec8& sumRe,
                             Vec8& sumIm) {
  Vec8 lanes = here;
  if constexpr (shift != 0) {
    lanes = reinterpret_cast<Vec8>(_mm512_maskz_alignr_epi64(
        0xFF, reinterpret_cast<__m512i>(next), reinterpret_cast<__m512i>(here), shift));
  }
  sumRe += lanes * tr;
  sumIm -= lanes * ti;
}

// Taps j .. j+7 (weights wr[0..7], wi[0..7]) of one vector whose lanes start at the aligned x.
template <int... shift>
PLEXO_AVX512 void EightTaps(const double* x, const double* wr, const double* wi, Vec8& sumRe,
                            Vec8& sumIm, std::integer_sequence<int, shift...>) {
  Vec8 here;
  Vec8 next;
  Load(here, x);
  Load(next, x + 8);
  (ShiftedTap<shift>(here, next, wr[shift], wi[shift], sumRe, sumIm), ...);
}

// Tap j with unaligned loads, lane 0 at plane index q.
PLEXO_AVX512 void OneTap(const RowBlocksArgs& a, std::ptrdiff_t q, std::ptrdiff_t j,
                         Vec8 (&sumRe)[4], Vec8 (&sumIm)[4]) {
  const double tr = a.wRe[j - a.tableFirst];
  const double ti = a.wIm[j - a.tableFirst];
#pragma GCC unroll 4
  for (int v = 0; v < 4; ++v) {
    Vec8 x;
    Load(x, a.re + q + 8 * v);
    sumRe[v] += x * tr;
    sumIm[v] -= x * ti;
  }
}

// The real AVX-512 blocks with aligned loads: the same sums, term by term, as Blocks<Vec8, 4,
// true>. Taps run one by one until the signal position is a multiple of 8, then in groups of 8
// from aligned vectors, then one by one again.
PLEXO_AVX512 void RealBlocksAligned(const RowBlocksArgs& a) {
  constexpr int kBlock = 32;
  for (std::ptrdiff_t i0 = 0; i0 < a.count; i0 += kBlock) {
    const std::ptrdiff_t jlo = std::max(a.tableFirst, a.first - (i0 + kBlock - 1) + a.half);
    const std::ptrdiff_t jhi = std::min(a.tableEnd, a.end - i0 + a.half);
    Vec8 sumRe[4];
    Vec8 sumIm[4];
#pragma GCC unroll 4
    for (int v = 0; v < 4; ++v) sumRe[v] = sumIm[v] = Vec8{};
    std::ptrdiff_t j = jlo;
    std::ptrdiff_t q = i0 - a.half + jlo - a.planeBase;  // plane index of lane 0
    for (; j < jhi && (q & 7) != 0; ++j, ++q) OneTap(a, q, j, sumRe, sumIm);
    for (; j + 8 <= jhi; j += 8, q += 8) {
#pragma GCC unroll 4
      for (int v = 0; v < 4; ++v) {
        EightTaps(a.re + q + 8 * v, a.wRe + (j - a.tableFirst), a.wIm + (j - a.tableFirst),
                  sumRe[v], sumIm[v], std::make_integer_sequence<int, 8>{});
      }
    }
    for (; j < jhi; ++j, ++q) OneTap(a, q, j, sumRe, sumIm);
    const std::ptrdiff_t valid = std::min<std::ptrdiff_t>(kBlock, a.count - i0);
    for (std::ptrdiff_t l = 0; l < valid; ++l) {
      a.out[i0 + l] = {a.dt * sumRe[l / 8][l % 8], a.dt * sumIm[l / 8][l % 8]};
    }
  }
}
#endif

void Dispatch(const RowBlocksArgs& a, void (*real)(const RowBlocksArgs&),
              void (*complex)(const RowBlocksArgs&)) {
  if (a.im == nullptr) {
    real(a);
  } else {
    complex(a);
  }
}

void RealSse2(const RowBlocksArgs& a) { Blocks<Vec2, 4, true>(a); }
void ComplexSse2(const RowBlocksArgs& a) { Blocks<Vec2, 2, false>(a); }

#if defined(__x86_64__)
PLEXO_TARGET_AVX512 void RealAvx512(const RowBlocksArgs& a) { RealBlocksAligned(a); }
PLEXO_TARGET_AVX512 void ComplexAvx512(const RowBlocksArgs& a) { Blocks<Vec8, 4, false>(a); }
PLEXO_TARGET_AVX2 void RealAvx2(const RowBlocksArgs& a) { Blocks<Vec4, 4, true>(a); }
PLEXO_TARGET_AVX2 void ComplexAvx2(const RowBlocksArgs& a) { Blocks<Vec4, 2, false>(a); }
#endif

}  // namespace

void RowBlocks(const RowBlocksArgs& args, simd::Isa isa) {
  switch (isa) {
#if defined(__x86_64__)
    case simd::Isa::kAvx512:
      return Dispatch(args, RealAvx512, ComplexAvx512);
    case simd::Isa::kAvx2:
      return Dispatch(args, RealAvx2, ComplexAvx2);
#endif
    default:
      return Dispatch(args, RealSse2, ComplexSse2);
  }
}

}  // namespace plexo::cwt_detail
