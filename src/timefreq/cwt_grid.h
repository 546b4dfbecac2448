#pragma once
// The time and frequency grid of a wavelet transform run, derived from the request, and the
// limits that keep it inside the coefficient matrix.
#include <string>

#include "signal/waveform.h"
#include "timefreq/tft_matrix.h"
#include "timefreq/tft_request.h"

namespace plexo {

// The preview paints one empty column beyond the window and one empty line beyond the computed
// rows from the matrix itself, so both must lie inside it.
inline constexpr int kCwtMaxColumns = TFT_ROW_STRIDE - 1;
inline constexpr int kCwtMaxRows = TFT_MAX_ROWS - 1;

struct CwtGrid {
  double dt = 0.0;            // the sample interval used everywhere (file's with autoTimeRes)
  long long first = 0;        // h = trunc(timeStart/dt): first sample of the window
  long long columns = 0;      // C = trunc(timeEnd/dt) - h
  bool windowDefined = true;  // false when a window bound is not a number
  double freqStep = 0.0;      // delta f
  long long lines = 0;        // R: lines of the TFT matrix (header line + R-1 computed rows)

  // Frequency of matrix row r: (r + 1) * freqStep; the grid starts at freqStep, not freqStart.
  int ComputedRows() const { return lines > 1 ? static_cast<int>(lines - 1) : 0; }
};

// dt: fileSampleInterval when autoTimeRes is 1, else timeRes. freqStep and lines: span/100 and
// 100 when autoFreqRes is 1, else freqRes and trunc(span/freqRes) + 1, span = freqEnd - freqStart.
CwtGrid CwtGridOf(const TftRequest& request, double fileSampleInterval);

// The message that refuses the grid, or an empty text when it can be computed: dt and the
// frequency step must be positive numbers, the window must hold 1 .. kCwtMaxColumns columns and
// the grid at least one line and at most kCwtMaxRows computed rows.
std::string CwtGridProblem(const CwtGrid& grid);

}  // namespace plexo
