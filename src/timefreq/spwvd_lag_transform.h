#pragma once
// The transform over the lag of the distribution: FFTSplit's forward transform of each column's
// lag values (imaginary parts zero), of which the magnitudes of bins 0 .. bins-1 are kept.
//
// Powers of two go through FFTSplit itself. For other lengths FFTSplit is the direct DFT, which
// computes a cosine and a sine per term; here the same angles (the same expression, so the same
// doubles) are tabulated once per run, only the lags a column can reach enter the sums, and a
// group of columns shares each pass over the table. Every sum keeps the direct DFT's order and
// only drops exact zeros, so the magnitudes are bit for bit those of FFTSplit.
#include <vector>

#include "platform/simd.h"

namespace plexo {

class SpwvdLagTransform {
 public:
  // Columns per call of Magnitudes, at most.
  static constexpr int kBatch = 16;

  // lagCap: the largest tau below nFreq/2 that a column can reach (negative: none); lags above
  // it are zero in every column except nFreq/2. isa: the vector instructions to use (the
  // result is the same with each; tests try them all).
  SpwvdLagTransform(int nFreq, int bins, int lagCap, simd::Isa isa = simd::MachineIsa());

  // lags: `columns` vectors of nFreq values, vector i at lags + i * nFreq. Writes the magnitude
  // of bin k of vector i to out[i * outStride + k] for k < bins. `scratch` is the calling
  // thread's own.
  void Magnitudes(const double* lags, int columns, double* out, int outStride,
                  std::vector<double>& scratch) const;

  bool Tabulated() const { return tabulated_; }

 private:
  void RadixTwoMagnitudes(const double* lags, int columns, double* out, int outStride,
                          std::vector<double>& scratch) const;
  void TableMagnitudes(const double* lags, int columns, double* out, int outStride,
                       std::vector<double>& scratch) const;

  int nFreq_;
  int bins_;
  bool tabulated_;
  simd::Isa isa_;
  int rowTile_;                 // bins per tile of the kernel
  std::vector<int> reachable_;  // ascending lag indices that may be non-zero
  // Tile by tile of rowTile_ bins, lag by lag: the cosines of the tile's bins, then their sines,
  // so that the kernel reads one tile front to back. Bin i, lag reachable_[q] at
  // ((i / rowTile_) * lagCount + q) * 2 * rowTile_ + i % rowTile_ (+ rowTile_ for the sine).
  std::vector<double> table_;
};

}  // namespace plexo
