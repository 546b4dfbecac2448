#include "timefreq/tft_matrix.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>

namespace plexo {

void TftMatrix::FreeDeleter::operator()(Complex* p) const { std::free(p); }

const Complex* TftMatrix::Data() const {
  if (!data_) {
    void* memory = std::calloc(static_cast<size_t>(TFT_MAX_ROWS) * TFT_ROW_STRIDE, sizeof(Complex));
    if (memory == nullptr) throw std::bad_alloc();
    data_.reset(static_cast<Complex*>(memory));
  }
  return data_.get();
}

Complex* TftMatrix::Data() { return const_cast<Complex*>(std::as_const(*this).Data()); }

void TftMatrix::ZeroRegion(int rows, int columns) {
  rows = std::clamp(rows, 0, TFT_MAX_ROWS);
  columns = std::clamp(columns, 0, TFT_ROW_STRIDE);
  for (int r = 0; r < rows; ++r) std::fill_n(Row(r), columns, Complex{});
}

}  // namespace plexo
