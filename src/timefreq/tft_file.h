#pragma once
// The TFT file: channel, time of record and time resolution, then a header line of times and one
// line per matrix row (frequency, then one cell per column, every cell followed by a tab).
#include <string>

#include "timefreq/tft_matrix.h"

namespace plexo {

// Cells hold the modulus "%e" of each coefficient.
bool WriteTftModulus(const std::string& outPath, const TftMatrix& matrix, int rows, int columns,
                     double freqStep, double timeStart, int channel, double timeOfTest, double dt);
// Cells hold re "%e" "," im "%e".
bool WriteTftComplex(const std::string& outPath, const TftMatrix& matrix, int rows, int columns,
                     double freqStep, double timeStart, int channel, double timeOfTest, double dt);

}  // namespace plexo
