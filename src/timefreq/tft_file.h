#pragma once
// The TFT file: channel, time of record and time resolution, then a header line of times and one
// line per matrix row (frequency, then one cell per column, every cell followed by a tab).
#include <string>

#include "timefreq/tft_matrix.h"
#include "timefreq/tft_request.h"

namespace plexo {

class TextFileWriter;

// Both writers take `rows` = R, the number of matrix lines (the header line of times and the
// matrix rows 0 .. R-2, row r labelled (r+1)*freqStep), and `columns` = C (header times
// g*dt + timeStart for g = 1 .. C; cells of columns 0 .. C-1). Numbers are "%e" with three-digit
// exponents, lines end in CR LF, and the file replaces an earlier one only once complete. False
// when the file could not be written ("File open NOT succesfull" on standard error if writing
// failed after opening) or when R-1 rows or C columns exceed the matrix (nothing written).
//
// Cells hold the modulus "%e" of each coefficient.
bool WriteTftModulus(const std::string& outPath, const TftMatrix& matrix, int rows, int columns,
                     double freqStep, double timeStart, int channel, double timeOfTest, double dt);
// Cells hold re "%e" "," im "%e".
bool WriteTftComplex(const std::string& outPath, const TftMatrix& matrix, int rows, int columns,
                     double freqStep, double timeStart, int channel, double timeOfTest, double dt);

// The table a run's output asks for (modulus or complex cells); kNone asks for none and counts as
// written.
bool WriteTftTable(TftOutput output, const std::string& outPath, const TftMatrix& matrix, int rows,
                   int columns, double freqStep, double timeStart, int channel, double timeOfTest,
                   double dt);

// The lines of a TFT file below its header lines: `rows` = R as above, and the line of matrix
// row r labelled (r + labelShift) * freqStep. The wavelet transform's rows start one step above
// 0 Hz (shift 1); the Wigner-Ville distribution's row k holds bin k at k * freqStep (shift 0).
struct TftFileLines {
  int rows = 0;
  double freqStep = 0.0;
  int labelShift = 1;
};

// Whether a run's output asks for a table at all.
bool TftTableWanted(TftOutput output);
// The table of a wanted output type into a file of a result (see result_files.h), made with
// translate_newlines false: the text carries its CR LF. False (nothing written) when the rows
// or columns exceed the matrix.
bool WriteTftTable(TftOutput output, TextFileWriter& out, const TftMatrix& matrix, int rows,
                   int columns, double freqStep, double timeStart, int channel, double timeOfTest,
                   double dt);
bool WriteTftTable(TftOutput output, TextFileWriter& out, const TftMatrix& matrix,
                   const TftFileLines& lines, int columns, double timeStart, int channel,
                   double timeOfTest, double dt);

}  // namespace plexo
