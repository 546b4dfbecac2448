#pragma once
// The Average FFT result: per bin the frequency, the complex mean, the mean magnitude, its
// sample standard deviation and its extremes; and the table file that holds it.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace plexo {

class TextFileWriter;

// Seven arrays of MAX_SAMPLES entries (after Allocate); entry i of each belongs to bin i.
struct AverageSpectrum {
  std::vector<double> frequency;
  std::vector<double> real;
  std::vector<double> imaginary;
  std::vector<double> magnitude;
  std::vector<double> deviation;
  std::vector<double> minimum;
  std::vector<double> maximum;

  // Gives every array at least max(entries, MAX_SAMPLES) entries (later calls keep the contents).
  void Allocate(int entries = 0);
};

// The table's seven columns in order: title and unit (the magnitudes carry the waveform's own
// unit, which the table does not know; they have none here).
struct AverageFftColumn {
  const char* title;
  const char* unit;
};
const std::array<AverageFftColumn, 7>& AverageFftColumns();

// Writes bins 0 .. rows-1 as data lines: the seven "%e" values separated by `separator`, each
// line ended by `lineEnd`. Never reads past the shortest array.
void WriteAverageFFTRows(TextFileWriter& out, const AverageSpectrum& spectrum, int rows,
                         char separator, std::string_view lineEnd);

// Writes the title line and bins 0 .. rows-1 (the Nyquist bin is not a row): seven "%e"
// columns separated by tabs, CR LF line ends. The first title word "Average" is what tells the
// FFT-file reader the kind. The file is replaced only when complete; false (after
// "File open NOT succesfull") when it cannot be written.
bool WriteAverageFFTFile(const std::string& path, const AverageSpectrum& spectrum, int rows);
// The same text into a file of a result (see result_files.h).
void WriteAverageFFTText(TextFileWriter& out, const AverageSpectrum& spectrum, int rows);

}  // namespace plexo
