#pragma once
// The Average FFT table as comma-separated text (avgFFTData/average_FFT.csv): one header row
// ("Frequency [Hz],Real,...,Maximum Magnitude") and one row per bin with the .txt table's
// numbers, digit for digit. See signal/csv_text.h for the layout.
#include "spectral/average_fft_file.h"

namespace plexo {

// Bins 0 .. rows-1 after the header row, into a file written without newline translation.
void WriteAverageFFTCsv(TextFileWriter& out, const AverageSpectrum& spectrum, int rows);

}  // namespace plexo
