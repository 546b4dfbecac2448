#include "timefreq/tft_file_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string_view>

#include "platform/file_system.h"
#include "platform/text_file.h"
#include "signal/number_text.h"

namespace plexo {
namespace {

constexpr size_t kMaxCellText = 1000;  // far beyond any number the writers print
constexpr int kFirstMatrixLine = 4;
constexpr int kLastMatrixLine = kFirstMatrixLine + TFT_FILE_MATRIX_ROWS - 1;  // 514

bool IsBlank(char ch) { return ch == ' ' || ch == '\r' || ch == '\v' || ch == '\f'; }

std::string_view From(std::string_view line, size_t k) {
  return k < line.size() ? line.substr(k) : std::string_view();
}

// A modulus cell is one number; a complex cell is "re,im" and shows as its modulus.
double CellValue(std::string_view cell) {
  const double re = ParseDouble(cell);
  const size_t comma = cell.find(',');
  if (comma == std::string_view::npos) return re;
  return std::hypot(re, ParseDouble(cell.substr(comma + 1)));
}

// The reader's state between pieces of the file: the line being read, the cell of that line
// and the cell's text so far.
class LineParser {
 public:
  explicit LineParser(TftFileContent& content) : content_(content) {}

  void Consume(std::string_view piece) {
    for (char ch : piece) {
      if (ch == '\n') {
        EndLine();
        continue;
      }
      lineHasText_ = true;
      if (ch == '\t') {
        Tab();
      } else if (text_.size() < kMaxCellText && !(text_.empty() && InMatrix() && IsBlank(ch))) {
        // Blanks in front of a number are skipped when it is parsed, so they need no room.
        text_ += ch;
      }
      ++position_;
    }
  }

  // A last line without a line end still counts.
  void Finish() {
    if (lineHasText_) EndLine();
  }

  long long lines() const { return line_; }
  int headerTabs() const { return headerTabs_; }
  int widestRow() const { return widestRow_; }
  double f5() const { return f5_; }
  double f6() const { return f6_; }

 private:
  bool InMatrix() const { return line_ >= kFirstMatrixLine && line_ <= kLastMatrixLine; }

  void Tab() {
    if (line_ == 3) {
      // Tabs are counted from position 1 on: a tab in front of the first title is not a column.
      if (position_ > 0) ++headerTabs_;
    } else if (line_ < 3) {
      if (text_.size() < kMaxCellText) text_ += '\t';
    } else if (InMatrix()) {
      EndCell();
    }
    if (line_ >= 3) text_.clear();
  }

  void EndCell() {
    if (cell_ == 0) {
      RememberFrequency();
    } else if (cell_ < TFT_ROW_STRIDE) {
      const int row = static_cast<int>(line_ - kFirstMatrixLine);
      content_.Row(row)[cell_] = CellValue(text_);
      widestRow_ = std::max(widestRow_, cell_ + 1);
    }
    ++cell_;
  }

  void RememberFrequency() {
    if (line_ == 5) f5_ = ParseDouble(text_);
    if (line_ == 6) f6_ = ParseDouble(text_);
  }

  void EndLine() {
    if (line_ == 0) content_.channel = ParseInt(From(text_, 8));
    if (line_ == 1) content_.timeOfRecord = ParseDouble(From(text_, 15));
    if (line_ == 2) content_.timeResolution = ParseDouble(From(text_, 15));
    // A line without any tab is all frequency; text after the last tab is not a cell.
    if (InMatrix() && cell_ == 0) RememberFrequency();
    ++line_;
    cell_ = 0;
    position_ = 0;
    text_.clear();
    lineHasText_ = false;
  }

  TftFileContent& content_;
  std::string text_;
  long long line_ = 0;
  long long position_ = 0;
  int cell_ = 0;
  int headerTabs_ = 0;
  int widestRow_ = 0;
  bool lineHasText_ = false;
  double f5_ = 0.0;
  double f6_ = 0.0;
};

}  // namespace

void TftFileContent::FreeDeleter::operator()(double* p) const { std::free(p); }

const double* TftFileContent::Matrix() const {
  if (!data_) {
    // 64 MiB of address space; pages never written cost nothing.
    void* memory = std::calloc(static_cast<size_t>(TFT_MAX_ROWS) * TFT_ROW_STRIDE, sizeof(double));
    if (memory == nullptr) throw std::bad_alloc();
    data_.reset(static_cast<double*>(memory));
  }
  return data_.get();
}

double* TftFileContent::Row(int r) { return const_cast<double*>(Matrix()) + Index(r, 0); }

void TftFileContent::ClearStored() {
  for (int r = 0; r < storedRows_; ++r) std::fill_n(Row(r), storedColumns_, 0.0);
  storedRows_ = 0;
  storedColumns_ = 0;
}

int ReadTftFile(const std::string& path, TftFileContent& content) {
  content.ClearStored();
  content.channel = 0;
  content.timeOfRecord = 0.0;
  content.timeResolution = 0.0;
  content.frequencyResolution = 0.0;
  content.rows = 0;
  content.columns = 0;
  content.lineCount = 0;
  std::FILE* file = OpenRegularFileStream(path);
  if (file == nullptr) return -1;

  LineParser parser(content);
  // Every row the parser may write is cleared by the next read, whatever happens below.
  content.storedRows_ = TFT_FILE_MATRIX_ROWS;
  content.storedColumns_ = TFT_ROW_STRIDE;
  std::string buffer(1 << 16, '\0');
  size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) {
    parser.Consume(std::string_view(buffer.data(), n));
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  parser.Finish();
  const long long matrixLines =
      std::clamp<long long>(parser.lines() - kFirstMatrixLine, 0, TFT_FILE_MATRIX_ROWS);
  content.storedRows_ = static_cast<int>(matrixLines);
  content.storedColumns_ = parser.widestRow();
  if (failed) {
    ReportFileError();
    return -1;
  }

  content.lineCount = parser.lines();
  content.frequencyResolution = parser.f6() - parser.f5();
  content.columns = std::min(parser.headerTabs(), TFT_ROW_STRIDE);
  content.rows = static_cast<int>(std::clamp<long long>(parser.lines() - 3, 0, TFT_MAX_ROWS));
  return content.rows;
}

}  // namespace plexo
