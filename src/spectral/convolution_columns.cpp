#include "spectral/convolution_columns.h"

#include <algorithm>

#include "platform/text_file.h"
#include "signal/number_text.h"

namespace plexo {

void WaveformColumns::Add(const WaveformHeader& header, const double* samples, int count) {
  std::vector<double> column;
  column.reserve(kHeaderValues + static_cast<size_t>(std::max(count, 0)));
  column.push_back(header.channel);
  column.push_back(header.timeOfTest);
  column.push_back(0.001 / header.sampleInterval);  // kHz
  column.insert(column.end(), 16, 0.0);
  column.push_back(count);
  column.insert(column.end(), samples, samples + std::max(count, 0));
  columns_.push_back(std::move(column));
}

bool WaveformColumns::Write(const std::string& path, std::string* error) const {
  TextFileWriter out(path);
  if (!out.IsOpen()) {
    ReportFileError();
    if (error != nullptr) *error = out.Error();
    return false;
  }
  size_t lines = 0;
  for (const auto& column : columns_) lines = std::max(lines, column.size());
  std::string text;
  for (size_t line = 0; line < lines; ++line) {
    for (size_t c = 0; c < columns_.size(); ++c) {
      if (c > 0) text += '\t';
      if (line < columns_[c].size()) AppendE(text, columns_[c][line]);
    }
    text += '\n';
    if (text.size() > (1 << 16)) {
      out.Write(text);
      text.clear();
    }
  }
  out.Write(text);
  if (out.Commit()) return true;
  ReportFileError();
  if (error != nullptr) *error = out.Error();
  return false;
}

}  // namespace plexo
