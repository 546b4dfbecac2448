#pragma once
// A measured transfer function: one complex value per bin of an N-point transform, read from a
// text file (a title line, then "real<TAB>imaginary" per bin, bin 0 first, in the bin order of
// FFT), and the two ways a spectrum passes through it.
#include <string>
#include <vector>

#include "signal/complex.h"
#include "signal/waveform.h"  // MAX_SAMPLES

namespace plexo {

// Reads the file into transfer[1 ..] (entry k holds data line k, that is bin k - 1; entry 0 is
// not used). `transfer` is grown to `capacity` + 1 entries (at least MAX_SAMPLES + 1); data
// lines beyond `capacity` are counted but not stored. A line without a tab gives an imaginary part
// of 0. Each part is one finite number with nothing but blanks around it; blank lines at the end of
// the file are no bins. Returns the number of lines read including the title line (N + 1 for a file
// of N bins; 1 for an empty file), or -1 when the file cannot be opened or a data line is not such
// a bin (then `problem`, when given, names the file and the line). Entries above the lines read
// keep their earlier values.
int ReadTransferFunction(const std::string& path, std::vector<Complex>& transfer,
                         std::string* problem = nullptr, int capacity = MAX_SAMPLES);

// x * t.
Complex MultiplyByTransfer(Complex x, Complex t);

// x / t by the scaled division that avoids overflow (dividing through by the larger part of t).
// A zero t, a NaN in t, or a zero or NaN scaled divisor gives NaN in both parts: there is no
// regularisation, a zero bin of the transfer function stays visible in the result.
Complex DivideByTransfer(Complex x, Complex t);

}  // namespace plexo
