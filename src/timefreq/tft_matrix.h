#pragma once
// The complex coefficient matrix of the time-frequency calculations: TFT_MAX_ROWS rows of
// MAX_SAMPLES columns, row-major, element (r, c) at r * MAX_SAMPLES + c.
#include <cstddef>
#include <memory>

#include "signal/complex.h"
#include "signal/waveform.h"

namespace plexo {

inline constexpr int TFT_MAX_ROWS = 512;
inline constexpr int TFT_ROW_STRIDE = MAX_SAMPLES;

class TftMatrix {
 public:
  TftMatrix() = default;
  TftMatrix(const TftMatrix&) = delete;
  TftMatrix& operator=(const TftMatrix&) = delete;

  // The matrix is allocated (zeroed, 128 MiB of address space whose untouched pages cost
  // nothing) on first use and kept for the owner's life.
  Complex* Data();
  const Complex* Data() const;
  Complex* Row(int r) { return Data() + static_cast<std::ptrdiff_t>(r) * TFT_ROW_STRIDE; }
  const Complex* Row(int r) const {
    return Data() + static_cast<std::ptrdiff_t>(r) * TFT_ROW_STRIDE;
  }

  // Zeroes rows [0, rows) x columns [0, columns): the region a run writes and its readers
  // (painter, writers) read. Clearing the whole matrix would touch 128 MiB per run.
  void ZeroRegion(int rows, int columns);

 private:
  struct FreeDeleter {
    void operator()(Complex* p) const;
  };
  mutable std::unique_ptr<Complex[], FreeDeleter> data_;
};

}  // namespace plexo
