#include "ascii_ops/ascii_files.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/text_file.h"
#include "signal/number_text.h"
#include "signal/waveform.h"
#include "signal/waveform_file.h"

namespace plexo {
namespace {

// Commits the file, reporting a failure the way every file routine does.
bool Finish(TextFileWriter& out, std::string* error) {
  if (out.IsOpen() && out.Commit()) return true;
  ReportFileError();
  if (error != nullptr) *error = out.Error();
  return false;
}

}  // namespace

std::string ConvDataFolder(const std::string& folder) { return JoinPath(folder, "convData"); }

void LinkTable::Resize(int rows) {
  rows_ = std::max(rows, 0);
  values_.assign(static_cast<size_t>(rows_) * kColumns, 0.0);
}

std::string FormatDecimalComma(double value) {
  std::string text = FormatE(value);
  std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

int ReadAsciiWaveform(const std::string& path, std::vector<double>& samples, double& sampleInterval,
                      double& timeOfTest, int& channel, std::string* problem) {
  // The operators index the buffer up to MAX_SAMPLES whatever the file held.
  if (samples.size() < static_cast<size_t>(MAX_SAMPLES)) samples.resize(MAX_SAMPLES);
  return ReadWaveformBasic(path, samples, sampleInterval, timeOfTest, channel, problem);
}

bool WriteTable(const std::string& path, const LinkTable& table, int nRows, int nCols,
                std::string* error) {
  const int rows = std::min(nRows - 1, table.Rows());
  const int columns = std::min(nCols, LinkTable::kColumns - 1);
  TextFileWriter out(path);
  std::string line;
  for (int row = 0; row < rows && out.IsOpen(); ++row) {
    line.clear();
    for (int column = 0; column <= columns; ++column) {
      if (column > 0) line += '\t';
      line += FormatDecimalComma(table.At(row, column));
    }
    line += '\n';
    out.Write(line);
  }
  return Finish(out, error);
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines, int n,
                std::string* error) {
  const long long last =
      std::min<long long>(static_cast<long long>(n) + 19, static_cast<long long>(lines.size()) - 1);
  TextFileWriter out(path);
  for (long long i = 0; i <= last && out.IsOpen(); ++i) {
    out.Write(lines[static_cast<size_t>(i)]);
    out.Write("\n");
  }
  return Finish(out, error);
}

namespace {

WaveformHeader SplitHeader(int channel, double timeOfTest, double sampleInterval,
                           const std::string& units, const std::string& date,
                           const std::string& time) {
  WaveformHeader header;
  header.channel = channel;
  header.timeOfTest = timeOfTest;
  header.sampleInterval = sampleInterval;
  header.units = units;
  header.date = date;
  header.time = time;
  return header;
}

}  // namespace

void WriteSplitWaveform(TextFileWriter& out, const double* samples, int count, int channel,
                        double timeOfTest, double sampleInterval, const std::string& units,
                        const std::string& date, const std::string& time) {
  WriteWaveformSci(out, samples, count,
                   SplitHeader(channel, timeOfTest, sampleInterval, units, date, time));
}

bool WriteSplitWaveform(const std::string& path, const double* samples, int count, int channel,
                        double timeOfTest, double sampleInterval, const std::string& units,
                        const std::string& date, const std::string& time) {
  return WriteWaveformSci(path, samples, count,
                          SplitHeader(channel, timeOfTest, sampleInterval, units, date, time));
}

}  // namespace plexo
