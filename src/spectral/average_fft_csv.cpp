#include "spectral/average_fft_csv.h"

#include <string>

#include "signal/csv_text.h"
#include "platform/text_file.h"

namespace plexo {

void WriteAverageFFTCsv(TextFileWriter& out, const AverageSpectrum& spectrum, int rows) {
  std::string header;
  for (const AverageFftColumn& column : AverageFftColumns()) {
    if (!header.empty()) header += ',';
    AppendCsvField(header, CsvColumnTitle(column.title, column.unit));
  }
  header += kCsvRowEnd;
  out.Write(header);
  WriteAverageFFTRows(out, spectrum, rows, ',', kCsvRowEnd);
}

}  // namespace plexo
