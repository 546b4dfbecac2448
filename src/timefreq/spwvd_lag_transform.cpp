#include "timefreq/spwvd_lag_transform.h"

#include <algorithm>
#include <cmath>

#include "spectral/fft.h"

namespace plexo {
namespace {

using simd::Double2;
using simd::Double4;
using simd::Double8;
using simd::Isa;
using simd::Unaligned;

// The compact lag vectors are padded to a multiple of every kernel's column group.
constexpr int kColumnPadding = 8;
static_assert(SpwvdLagTransform::kBatch % kColumnPadding == 0);

bool IsRadixTwoLength(int n) { return n >= 2 && (n & (n - 1)) == 0; }

// The kernel of each processor kind: bins per tile (kRowVectors vectors) and columns per group,
// chosen so that the sums fill most of the vector registers (16 or 32) without spilling.
template <typename V, int kVectorsPerTile, int kColumnsPerGroup>
struct KernelShape {
  using Vector = V;
  static constexpr int kLanes = sizeof(V) / sizeof(double);
  static constexpr int kRowVectors = kVectorsPerTile;
  static constexpr int kRowTile = kRowVectors * kLanes;
  static constexpr int kColumnGroup = kColumnsPerGroup;
  static_assert(kColumnPadding % kColumnGroup == 0);
};
using Sse2Shape = KernelShape<Double2, 2, 2>;
using Avx2Shape = KernelShape<Double4, 1, 4>;
using Avx512Shape = KernelShape<Double8, 1, 8>;

int RowTileOf(Isa isa) {
  switch (isa) {
    case Isa::kAvx512:
      return Avx512Shape::kRowTile;
    case Isa::kAvx2:
      return Avx2Shape::kRowTile;
    case Isa::kSse2:
      break;
  }
  return Sse2Shape::kRowTile;
}

struct TableJob {
  const double* compact;  // column i's reachable lag values at i * lagCount
  int lagCount;
  int columns;
  const double* table;  // see SpwvdLagTransform::table_
  int bins;
  double* out;
  int outStride;
};

// For each tile of bins and each group of columns, the real and imaginary sums stay in registers
// while the kernel walks down the reachable lags once, in ascending order (the order of the direct
// DFT's sums), reading the tile's part of the table front to back.
template <typename Shape>
[[gnu::always_inline]] inline void TableKernel(const TableJob& job) {
  using V = typename Shape::Vector;
  constexpr int kLanes = Shape::kLanes;
  constexpr int kRowVectors = Shape::kRowVectors;
  constexpr int kRowTile = Shape::kRowTile;
  constexpr int kColumnGroup = Shape::kColumnGroup;
  const int groups = (job.columns + kColumnGroup - 1) / kColumnGroup;
  for (int row0 = 0; row0 < job.bins; row0 += kRowTile) {
    const double* tile = job.table + static_cast<size_t>(row0) * 2 * job.lagCount;
    for (int group = 0; group < groups; ++group) {
      const double* v = job.compact + static_cast<size_t>(group) * kColumnGroup * job.lagCount;
      V re[kColumnGroup][kRowVectors] = {};
      V im[kColumnGroup][kRowVectors] = {};
      for (int q = 0; q < job.lagCount; ++q) {
        const double* entry = tile + static_cast<size_t>(q) * 2 * kRowTile;
        V c[kRowVectors], s[kRowVectors];
        for (int r = 0; r < kRowVectors; ++r) {
          c[r] = *reinterpret_cast<const Unaligned<V>*>(entry + r * kLanes);
          s[r] = *reinterpret_cast<const Unaligned<V>*>(entry + kRowTile + r * kLanes);
        }
        for (int g = 0; g < kColumnGroup; ++g) {
          const double value = v[static_cast<size_t>(g) * job.lagCount + q];
          for (int r = 0; r < kRowVectors; ++r) {
            re[g][r] += value * c[r];
            im[g][r] += value * s[r];
          }
        }
      }
      for (int g = 0; g < kColumnGroup; ++g) {
        const int column = group * kColumnGroup + g;
        if (column >= job.columns) break;
        double reSums[kRowTile], imSums[kRowTile];
        for (int r = 0; r < kRowVectors; ++r) {
          *reinterpret_cast<Unaligned<V>*>(reSums + r * kLanes) = re[g][r];
          *reinterpret_cast<Unaligned<V>*>(imSums + r * kLanes) = im[g][r];
        }
        double* magnitudes = job.out + static_cast<size_t>(column) * job.outStride + row0;
        const int rows = std::min(kRowTile, job.bins - row0);
        for (int r = 0; r < rows; ++r)
          magnitudes[r] = std::sqrt(reSums[r] * reSums[r] + imSums[r] * imSums[r]);
      }
    }
  }
}

void TableKernelSse2(const TableJob& job) { TableKernel<Sse2Shape>(job); }
PLEXO_TARGET_AVX2 void TableKernelAvx2(const TableJob& job) { TableKernel<Avx2Shape>(job); }
PLEXO_TARGET_AVX512 void TableKernelAvx512(const TableJob& job) { TableKernel<Avx512Shape>(job); }

}  // namespace

SpwvdLagTransform::SpwvdLagTransform(int nFreq, int bins, int lagCap, simd::Isa isa)
    : nFreq_(nFreq),
      bins_(std::clamp(bins, 0, nFreq)),
      tabulated_(!IsRadixTwoLength(nFreq)),
      isa_(isa),
      rowTile_(RowTileOf(isa)) {
  if (!tabulated_ || nFreq_ <= 0) return;

  // The lags a column can write: 0 .. lagCap, nFreq/2, nFreq-lagCap .. nFreq-1 (ascending).
  reachable_.push_back(0);
  for (int tau = 1; tau <= lagCap; ++tau) reachable_.push_back(tau);
  if (nFreq_ / 2 >= 1) reachable_.push_back(nFreq_ / 2);
  for (int tau = lagCap; tau >= 1; --tau) reachable_.push_back(nFreq_ - tau);

  // The angle of each (bin i, lag j) exactly as the direct DFT of FFTSplit computes it.
  const size_t lagCount = reachable_.size();
  const int tiles = (bins_ + rowTile_ - 1) / rowTile_;
  table_.assign(static_cast<size_t>(tiles) * lagCount * 2 * rowTile_, 0.0);
  const double sign = -1.0;
  const int n = nFreq_;
  for (int i = 0; i < bins_; ++i) {
    double* tile = table_.data() + static_cast<size_t>(i / rowTile_) * lagCount * 2 * rowTile_;
    for (size_t q = 0; q < lagCount; ++q) {
      const int j = reachable_[q];
      const double theta = 2.0 * sign * M_PI * i * j / n;
      tile[q * 2 * rowTile_ + i % rowTile_] = std::cos(theta);
      tile[q * 2 * rowTile_ + rowTile_ + i % rowTile_] = std::sin(theta);
    }
  }
}

void SpwvdLagTransform::Magnitudes(const double* lags, int columns, double* out, int outStride,
                                   std::vector<double>& scratch) const {
  columns = std::clamp(columns, 0, kBatch);
  if (tabulated_)
    TableMagnitudes(lags, columns, out, outStride, scratch);
  else
    RadixTwoMagnitudes(lags, columns, out, outStride, scratch);
}

void SpwvdLagTransform::RadixTwoMagnitudes(const double* lags, int columns, double* out,
                                           int outStride, std::vector<double>& scratch) const {
  scratch.resize(2 * static_cast<size_t>(nFreq_));
  double* re = scratch.data();
  double* im = re + nFreq_;
  for (int i = 0; i < columns; ++i) {
    // The imaginary parts of the lag values are zero (the signal is real).
    FFTSplit(nFreq_, false, lags + static_cast<size_t>(i) * nFreq_, nullptr, re, im);
    double* column = out + static_cast<size_t>(i) * outStride;
    for (int k = 0; k < bins_; ++k) column[k] = std::sqrt(re[k] * re[k] + im[k] * im[k]);
  }
}

// The direct DFT term of lag j for bin i is lag[j] cos - lagIm[j] sin (real part) and
// lag[j] sin + lagIm[j] cos (imaginary part) with lagIm[j] = +0. Dropping the zero product changes
// a term at most in the sign of a zero, and a sum that starts at +0 is never -0, so the sums are
// unchanged; the same holds for the terms of lags that are zero in a column.
void SpwvdLagTransform::TableMagnitudes(const double* lags, int columns, double* out, int outStride,
                                        std::vector<double>& scratch) const {
  const int lagCount = static_cast<int>(reachable_.size());
  const int paddedColumns = (columns + kColumnPadding - 1) / kColumnPadding * kColumnPadding;
  scratch.assign(static_cast<size_t>(paddedColumns) * lagCount, 0.0);
  for (int i = 0; i < columns; ++i) {
    const double* lag = lags + static_cast<size_t>(i) * nFreq_;
    double* compact = scratch.data() + static_cast<size_t>(i) * lagCount;
    for (int q = 0; q < lagCount; ++q) compact[q] = lag[reachable_[q]];
  }
  const TableJob job{scratch.data(), lagCount, columns, table_.data(), bins_, out, outStride};
  switch (isa_) {
    case Isa::kAvx512:
      TableKernelAvx512(job);
      break;
    case Isa::kAvx2:
      TableKernelAvx2(job);
      break;
    case Isa::kSse2:
      TableKernelSse2(job);
      break;
  }
}

}  // namespace plexo
