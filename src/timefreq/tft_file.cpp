#include "timefreq/tft_file.h"

#include <cmath>

#include "signal/number_text.h"
#include "signal/text_file.h"

namespace plexo {
namespace {

// Text is handed to the writer in pieces of about this size.
constexpr size_t kChunk = 1 << 16;

template <typename AppendCell>
bool WriteTft(const std::string& outPath, const TftMatrix& matrix, int rows, int columns,
              double freqStep, double timeStart, int channel, double timeOfTest, double dt,
              AppendCell append_cell) {
  // Matrix lines read rows 0 .. rows-2 and columns 0 .. columns-1: both must lie in the matrix.
  if (rows > TFT_MAX_ROWS + 1 || columns > TFT_ROW_STRIDE) return false;
  TextFileWriter writer(outPath);
  if (!writer.IsOpen()) return false;

  std::string text;
  text.reserve(kChunk + 1024);
  const auto flush_when_full = [&] {
    if (text.size() < kChunk) return;
    writer.Write(text);
    text.clear();
  };
  text += "Channel:\t";
  text += FormatD(channel);
  text += "\nTime of Record:\t";
  AppendE(text, timeOfTest);
  text += "\nTimeresolution:\t";
  AppendE(text, dt);
  text += "\n";
  if (rows > 0) {
    text += "Frequency[Hz]/Time[s]\t";
    for (int g = 1; g <= columns; ++g) {
      AppendE(text, g * dt + timeStart);
      text += '\t';
      flush_when_full();
    }
    text += '\n';
    for (int r = 0; r + 1 < rows; ++r) {
      AppendE(text, (r + 1) * freqStep);
      text += '\t';
      const Complex* row = matrix.Row(r);
      for (int c = 0; c < columns; ++c) {
        append_cell(text, row[c]);
        text += '\t';
        flush_when_full();
      }
      text += '\n';
    }
  }
  writer.Write(text);
  if (!writer.Commit()) {
    ReportFileError();
    return false;
  }
  return true;
}

}  // namespace

bool WriteTftModulus(const std::string& outPath, const TftMatrix& matrix, int rows, int columns,
                     double freqStep, double timeStart, int channel, double timeOfTest, double dt) {
  return WriteTft(
      outPath, matrix, rows, columns, freqStep, timeStart, channel, timeOfTest, dt,
      [](std::string& text, const Complex& v) { AppendE(text, std::hypot(v.re, v.im)); });
}

bool WriteTftComplex(const std::string& outPath, const TftMatrix& matrix, int rows, int columns,
                     double freqStep, double timeStart, int channel, double timeOfTest, double dt) {
  return WriteTft(outPath, matrix, rows, columns, freqStep, timeStart, channel, timeOfTest, dt,
                  [](std::string& text, const Complex& v) {
                    AppendE(text, v.re);
                    text += ',';
                    AppendE(text, v.im);
                  });
}

}  // namespace plexo
