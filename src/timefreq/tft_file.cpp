#include "timefreq/tft_file.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/job_count.h"
#include "platform/ordered_workers.h"
#include "platform/text_file.h"
#include "signal/number_text.h"

namespace plexo {
namespace {

// Matrix lines are formatted in chunks of this many rows on several threads and written in row
// order: the text is the same whatever the thread count, and at most one chunk per thread is
// held at once.
constexpr int kRowsPerChunk = 16;
constexpr int kMostFormatThreads = 4;

int FormatThreads() { return std::min(JobCount(0), kMostFormatThreads); }

// Matrix lines read rows 0 .. rows-2 and columns 0 .. columns-1: both must lie in the matrix.
bool FitsMatrix(int rows, int columns) {
  return rows <= TFT_MAX_ROWS + 1 && columns <= TFT_ROW_STRIDE;
}

template <typename AppendCell>
void WriteTftText(TextFileWriter& writer, const TftMatrix& matrix, const TftFileLines& lines,
                  int columns, double timeStart, int channel, double timeOfTest, double dt,
                  AppendCell append_cell) {
  const int rows = lines.rows;
  std::string text;
  text += "Channel:\t";
  text += FormatD(channel);
  text += "\r\nTime of Record:\t";
  AppendE(text, timeOfTest);
  text += "\r\nTimeresolution:\t";
  AppendE(text, dt);
  text += "\r\n";
  if (rows > 0) {
    text += "Frequency[Hz]/Time[s]\t";
    for (int g = 1; g <= columns; ++g) {
      AppendE(text, g * dt + timeStart);
      text += '\t';
    }
    text += "\r\n";
  }
  writer.Write(text);

  const int matrix_lines = std::max(rows - 1, 0);
  const int chunks = (matrix_lines + kRowsPerChunk - 1) / kRowsPerChunk;
  const int threads = FormatThreads();
  std::vector<std::string> texts(static_cast<size_t>(threads));
  RunInOrder(
      chunks, threads,
      [&](int chunk, int) {
        std::string& out = texts[static_cast<size_t>(chunk % threads)];
        out.clear();
        const int first_row = chunk * kRowsPerChunk;
        const int end_row = std::min(first_row + kRowsPerChunk, matrix_lines);
        for (int r = first_row; r < end_row; ++r) {
          AppendE(out, (r + lines.labelShift) * lines.freqStep);
          out += '\t';
          const Complex* row = matrix.Row(r);
          for (int c = 0; c < columns; ++c) {
            append_cell(out, row[c]);
            out += '\t';
          }
          out += "\r\n";
        }
      },
      [&](int chunk) {
        writer.Write(texts[static_cast<size_t>(chunk % threads)]);
        return true;
      },
      /*ahead=*/threads);
}

template <typename AppendCell>
bool WriteTft(const std::string& outPath, const TftMatrix& matrix, int rows, int columns,
              double freqStep, double timeStart, int channel, double timeOfTest, double dt,
              AppendCell append_cell) {
  if (!FitsMatrix(rows, columns)) return false;
  // The text is formatted with its CR LF line ends, so the writer copies it unchanged.
  TextFileWriter writer(outPath, /*translate_newlines=*/false);
  WriteTftText(writer, matrix, TftFileLines{rows, freqStep, 1}, columns, timeStart, channel,
               timeOfTest, dt, append_cell);
  if (!writer.Commit()) {
    ReportFileError();
    return false;
  }
  return true;
}

void AppendModulus(std::string& text, const Complex& v) { AppendE(text, std::hypot(v.re, v.im)); }

void AppendComplex(std::string& text, const Complex& v) {
  AppendE(text, v.re);
  text += ',';
  AppendE(text, v.im);
}

}  // namespace

bool WriteTftModulus(const std::string& outPath, const TftMatrix& matrix, int rows, int columns,
                     double freqStep, double timeStart, int channel, double timeOfTest, double dt) {
  return WriteTft(outPath, matrix, rows, columns, freqStep, timeStart, channel, timeOfTest, dt,
                  AppendModulus);
}

bool WriteTftComplex(const std::string& outPath, const TftMatrix& matrix, int rows, int columns,
                     double freqStep, double timeStart, int channel, double timeOfTest, double dt) {
  return WriteTft(outPath, matrix, rows, columns, freqStep, timeStart, channel, timeOfTest, dt,
                  AppendComplex);
}

bool WriteTftTable(TftOutput output, const std::string& outPath, const TftMatrix& matrix, int rows,
                   int columns, double freqStep, double timeStart, int channel, double timeOfTest,
                   double dt) {
  switch (output) {
    case TftOutput::kComplex:
      return WriteTftComplex(outPath, matrix, rows, columns, freqStep, timeStart, channel,
                             timeOfTest, dt);
    case TftOutput::kModulus:
      return WriteTftModulus(outPath, matrix, rows, columns, freqStep, timeStart, channel,
                             timeOfTest, dt);
    case TftOutput::kNone:
      break;
  }
  return true;
}

}  // namespace plexo

namespace plexo {

bool TftTableWanted(TftOutput output) { return output != TftOutput::kNone; }

bool WriteTftTable(TftOutput output, TextFileWriter& out, const TftMatrix& matrix, int rows,
                   int columns, double freqStep, double timeStart, int channel, double timeOfTest,
                   double dt) {
  return WriteTftTable(output, out, matrix, TftFileLines{rows, freqStep, 1}, columns, timeStart,
                       channel, timeOfTest, dt);
}

bool WriteTftTable(TftOutput output, TextFileWriter& out, const TftMatrix& matrix,
                   const TftFileLines& lines, int columns, double timeStart, int channel,
                   double timeOfTest, double dt) {
  if (!FitsMatrix(lines.rows, columns)) return false;
  const bool complex_cells = output == TftOutput::kComplex;
  if (complex_cells) {
    WriteTftText(out, matrix, lines, columns, timeStart, channel, timeOfTest, dt, AppendComplex);
  } else {
    WriteTftText(out, matrix, lines, columns, timeStart, channel, timeOfTest, dt, AppendModulus);
  }
  return true;
}

}  // namespace plexo
