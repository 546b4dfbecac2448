#pragma once
// Reading a TFT file back for display: the header values and the coefficient map as real values
// (the modulus; a complex file's "re,im" cells are shown as their modulus too).
#include <cstddef>
#include <memory>
#include <string>

#include "timefreq/tft_matrix.h"

namespace plexo {

// What the TFT viewer paints. The matrix has the TFT matrix's shape (TFT_MAX_ROWS rows of
// MAX_SAMPLES doubles, row-major); it is allocated on first use and kept between reads, and
// every read clears what the previous one stored.
class TftFileContent {
 public:
  TftFileContent() = default;
  TftFileContent(const TftFileContent&) = delete;
  TftFileContent& operator=(const TftFileContent&) = delete;

  const double* Matrix() const;
  double* Row(int r);
  double At(int r, int c) const { return Matrix()[Index(r, c)]; }

  int channel = 0;
  double timeOfRecord = 0.0;
  double timeResolution = 0.0;       // s
  double frequencyResolution = 0.0;  // Hz: the frequency of line 6 minus that of line 5
  int rows = 0;                      // R, at most TFT_MAX_ROWS
  int columns = 0;                   // C', at most MAX_SAMPLES
  long long lineCount = 0;           // every line of the file, stored or not

 private:
  friend int ReadTftFile(const std::string& path, TftFileContent& content);
  static std::ptrdiff_t Index(int r, int c) {
    return static_cast<std::ptrdiff_t>(r) * TFT_ROW_STRIDE + c;
  }
  void ClearStored();

  struct FreeDeleter {
    void operator()(double* p) const;
  };
  mutable std::unique_ptr<double[], FreeDeleter> data_;
  int storedRows_ = 0;  // rows [0, storedRows_) x columns [0, storedColumns_) may be non-zero
  int storedColumns_ = 0;
};

// The matrix rows of a TFT file: lines 4 .. 514 fill rows 0 .. 510.
inline constexpr int TFT_FILE_MATRIX_ROWS = TFT_MAX_ROWS - 1;

// Reads a TFT file as the wavelet transform and the Wigner-Ville distribution write it (lines
// counted from 0):
//   line 0  channel, the integer from column 8;  line 1  time of record, from column 15;
//   line 2  time resolution, from column 15;     line 3  C' = the tabs at positions 1 and later;
//   line L = 4 .. 514  matrix row L-4: cell j (the text between tab j and tab j+1) goes to
//   column j, and only when a tab follows it; column 0 stays empty. Later lines are counted only.
// Returns R = the number of lines after line 2, and sets rows = R and columns = C', both cut to
// what the matrix holds (TFT_MAX_ROWS rows, MAX_SAMPLES columns; cells beyond column 16383 are
// read and ignored). A file of three lines or fewer holds no data and gives 0. -1 when the file
// cannot be opened or read ("File open NOT succesfull" on standard error for a read error).
// Lines of any length are read in pieces; a cell keeps at most its first 1000 characters.
int ReadTftFile(const std::string& path, TftFileContent& content);

}  // namespace plexo
