#include "spectral/fft_file.h"

#include <cmath>

#include "platform/file_system.h"
#include "platform/text_file.h"
#include "platform/text_lines.h"
#include "signal/number_text.h"
#include "signal/waveform.h"

namespace plexo {

bool WriteFFTFile(const std::string& path, const Complex* spectrum, const double* frequencies,
                  int bin_count, int channel, double timeOfTest, double sampleInterval) {
  TextFileWriter out(path);
  if (!out.IsOpen()) {
    ReportFileError();
    return false;
  }
  WriteFFTText(out, spectrum, frequencies, bin_count, channel, timeOfTest, sampleInterval);
  if (out.Commit()) return true;
  ReportFileError();
  return false;
}

void WriteFFTText(TextFileWriter& out, const Complex* spectrum, const double* frequencies,
                  int bin_count, int channel, double timeOfTest, double sampleInterval) {
  std::string text;
  text += "Channel:\t" + FormatD(channel) + "\n";
  text += "Time of Record:\t" + FormatE(timeOfTest) + "\n";
  text += "Timeresolution:\t" + FormatE(sampleInterval) + "\n";
  text += "Frequency:\tReal:\tImaginary:\n";
  for (int k = 0; k < bin_count; ++k) {
    AppendE(text, frequencies[k]);
    text += '\t';
    AppendE(text, spectrum[k].re);
    text += '\t';
    AppendE(text, spectrum[k].im);
    text += '\n';
  }
  out.Write(text);
}

namespace {

constexpr std::string_view kAverageTitles = "Frequency:\tReal:\tImaginary:\tMagnitude:\t";

std::string_view From(std::string_view line, size_t k) {
  return k < line.size() ? line.substr(k) : std::string_view();
}

}  // namespace

int ReadFFTFile(const std::string& path, FftFileContent& content) {
  FileBytes bytes;
  if (ReadWholeFile(path, bytes) != kFileRead) return -1;
  content.frequencies.assign(MAX_SAMPLES, 0.0);
  content.amplitudes.assign(MAX_SAMPLES, 0.0);

  LineSplitter lines(bytes.Text());
  std::string_view line;
  int stored = 0;
  // Lines are numbered from 1 as in the written layouts; the first one tells the kind.
  for (long line_number = 1; lines.Next(line); ++line_number) {
    if (line_number == 1) {
      content.kind = kSingleFftFile;
      if (line.find("Single") != std::string_view::npos) content.kind = kSingleFftFile;
      // The average table's title line does not carry the word "Average"; its titles are
      // recognised too, so that the program's own average tables read back as such.
      if (line.find("Average") != std::string_view::npos || line.find(kAverageTitles) == 0)
        content.kind = kAverageFftFile;
      if (content.kind == kAverageFftFile) {
        content.channel = -1;
        content.timeOfRecord = -1;
        content.timeResolution = -1;
      }
    }
    const size_t first_tab = line.find('\t');
    const std::string_view before_first =
        first_tab == std::string_view::npos ? line : line.substr(0, first_tab);
    if (content.kind == kSingleFftFile) {
      if (line_number == 1) content.channel = ParseInt(From(line, 9));
      if (line_number == 2) content.timeOfRecord = ParseDouble(From(line, 16));
      if (line_number == 3) content.timeResolution = ParseDouble(From(line, 16));
      if (line_number < 5) continue;
      if (stored >= MAX_SAMPLES) continue;
      const size_t last_tab = line.rfind('\t');
      double re = 0.0, im = 0.0;
      if (first_tab != std::string_view::npos) {
        re = ParseDouble(line.substr(first_tab + 1));
        im = ParseDouble(line.substr(last_tab + 1));
      }
      content.frequencies[stored] = ParseDouble(before_first);
      content.amplitudes[stored] = std::hypot(re, im);
      ++stored;
    } else {
      if (line_number < 3) continue;
      if (stored >= MAX_SAMPLES) continue;
      // The fourth column: the text after the third tab.
      size_t tab = first_tab;
      for (int t = 1; t < 3 && tab != std::string_view::npos; ++t) tab = line.find('\t', tab + 1);
      content.frequencies[stored] = ParseDouble(before_first);
      content.amplitudes[stored] =
          tab == std::string_view::npos ? 0.0 : ParseDouble(line.substr(tab + 1));
      ++stored;
    }
  }
  return stored;
}

}  // namespace plexo
