#include "spectral/average_fft_file.h"

#include <algorithm>

#include "platform/text_file.h"
#include "signal/number_text.h"
#include "signal/waveform.h"

namespace plexo {

void AverageSpectrum::Allocate(int entries) {
  const size_t size = static_cast<size_t>(std::max(entries, MAX_SAMPLES));
  for (std::vector<double>* column :
       {&frequency, &real, &imaginary, &magnitude, &deviation, &minimum, &maximum}) {
    if (column->size() < size) column->resize(size, 0.0);
  }
}

bool WriteAverageFFTFile(const std::string& path, const AverageSpectrum& spectrum, int rows) {
  TextFileWriter out(path);
  if (!out.IsOpen()) {
    ReportFileError();
    return false;
  }
  WriteAverageFFTText(out, spectrum, rows);
  if (out.Commit()) return true;
  ReportFileError();
  return false;
}

const std::array<AverageFftColumn, 7>& AverageFftColumns() {
  static const std::array<AverageFftColumn, 7> columns{{
      {"Frequency", "Hz"},
      {"Real", ""},
      {"Imaginary", ""},
      {"Magnitude", ""},
      {"Standard Deviation", ""},
      {"Minimum Magnitude", ""},
      {"Maximum Magnitude", ""},
  }};
  return columns;
}

void WriteAverageFFTRows(TextFileWriter& out, const AverageSpectrum& spectrum, int rows,
                         char separator, std::string_view lineEnd) {
  const std::vector<double>* columns[] = {
      &spectrum.frequency, &spectrum.real,    &spectrum.imaginary, &spectrum.magnitude,
      &spectrum.deviation, &spectrum.minimum, &spectrum.maximum};
  // Never read past the shortest column, whatever the caller asks for.
  size_t available = spectrum.frequency.size();
  for (const std::vector<double>* column : columns) available = std::min(available, column->size());
  const size_t row_count = rows > 0 ? std::min(static_cast<size_t>(rows), available) : 0;
  std::string text;
  for (size_t i = 0; i < row_count; ++i) {
    for (size_t c = 0; c < std::size(columns); ++c) {
      if (c > 0) text += separator;
      AppendE(text, (*columns[c])[i]);
    }
    text += lineEnd;
    if (text.size() > (1 << 16)) {
      out.Write(text);
      text.clear();
    }
  }
  out.Write(text);
}

void WriteAverageFFTText(TextFileWriter& out, const AverageSpectrum& spectrum, int rows) {
  // "Frequency:\tReal:\t ... Maximum Magnitude:\n"
  std::string titles;
  for (const AverageFftColumn& column : AverageFftColumns()) {
    if (!titles.empty()) titles += '\t';
    titles += column.title;
    titles += ':';
  }
  titles += '\n';
  out.Write(titles);
  WriteAverageFFTRows(out, spectrum, rows, '\t', "\n");
}

}  // namespace plexo
