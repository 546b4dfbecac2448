#pragma once
// The files of the collection operators: the lenient waveform reader, the link-table writer with
// its decimal comma, the line-table writer of Columns and the waveform writer of Split. Every
// writer replaces its file atomically with CR LF line ends; when it cannot, it prints "File open
// NOT succesfull" to standard error and returns false.
#include <string>
#include <vector>

namespace plexo {

class TextFileWriter;

// The output folder of the collection operators inside the chosen folder: F/convData.
std::string ConvDataFolder(const std::string& folder);

// A table of numbers with 24 columns: column 0 holds an index or a time, columns 1 to 23 data.
// Accumulate and Event linking build their results in it.
class LinkTable {
 public:
  static constexpr int kColumns = 24;

  // `rows` rows, all zero.
  explicit LinkTable(int rows = 0) { Resize(rows); }
  void Resize(int rows);

  int Rows() const { return rows_; }
  double& At(int row, int column) { return values_[Index(row, column)]; }
  double At(int row, int column) const { return values_[Index(row, column)]; }

 private:
  static size_t Index(int row, int column) {
    return static_cast<size_t>(row) * kColumns + static_cast<size_t>(column);
  }
  int rows_ = 0;
  std::vector<double> values_;
};

// "%e" with every "." replaced by "," (1,234560e-003): the number format of the link tables.
std::string FormatDecimalComma(double value);

// Reads a waveform file as the collection operators do: only the sample interval (any header
// line holding "SAMPLE INTERVAL", from column 26), the channel and the time of test are taken,
// lines 9 to 16392 are samples 0 to 16383, no sample is forced to zero; sample lines hold one
// finite number each (see ReadWaveformBasic). Returns the number of lines from line 9 on, or -1
// when the file cannot be read or is refused for its content (then `problem`, when given, names
// the file and the line). Header values the file does not hold are left as they were.
// `samples` is grown to MAX_SAMPLES if smaller.
int ReadAsciiWaveform(const std::string& path, std::vector<double>& samples, double& sampleInterval,
                      double& timeOfTest, int& channel, std::string* problem = nullptr);

// Writes table rows 0 .. nRows - 2, each as columns 0 .. nCols in the decimal-comma format
// separated by tabs. Callers pass the number of rows plus one when every row is to be written.
// Rows and columns the table does not have are not written.
// `error`, when given, receives the message naming the file and the reason of a failure.
bool WriteTable(const std::string& path, const LinkTable& table, int nRows, int nCols,
                std::string* error = nullptr);

// Writes lines 0 .. n + 19 of the line table (the 20 header lines and n sample lines), each
// followed by a line end. Lines the table does not have are not written.
bool WriteLines(const std::string& path, const std::vector<std::string>& lines, int n,
                std::string* error = nullptr);

// A waveform file whose samples are written with "%e": one column of a split table.
bool WriteSplitWaveform(const std::string& path, const double* samples, int count, int channel,
                        double timeOfTest, double sampleInterval, const std::string& units,
                        const std::string& date, const std::string& time);
// The same into a file of a result (see result_files.h).
void WriteSplitWaveform(TextFileWriter& out, const double* samples, int count, int channel,
                        double timeOfTest, double sampleInterval, const std::string& units,
                        const std::string& date, const std::string& time);

}  // namespace plexo
