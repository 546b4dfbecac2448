#pragma once
// The preview of a wavelet transform run ("WT-File"): the coefficient map above the signal.
#include <opencv2/core.hpp>

#include "signal/complex.h"
#include "signal/waveform.h"
#include "timefreq/tft_matrix.h"
#include "timefreq/tft_result.h"

namespace plexo {

// The 800 x 700 composite: the modulus map of matrix rows 0 .. lines-1 and columns 0 .. columns
// (the empty last row and column included; lines <= TFT_MAX_ROWS, columns < TFT_ROW_STRIDE) as a
// time-frequency chart with the wavelet colour bar, labelled per division by (columns+1)*dt/40
// and lines*freqStep/30, above the signal strip of the window buffer drawn over `sampleCount`
// points (the loaded sample count; the buffer must hold that many entries). The chart borrows
// the matrix and the window buffer.
TftPreview MakeCwtPreview(const TftMatrix& matrix, int columns, int lines, double dt,
                          double freqStep, const Complex* window, int sampleCount,
                          const WaveformHeader& header);

}  // namespace plexo
