#include "signal/setup_file.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "platform/file_system.h"
#include "platform/text_file.h"
#include "signal/number_text.h"

namespace plexo {
namespace {

// What one line of the setup file holds.
enum class LineKind {
  kInteger,     // "%d" of the field truncated toward zero
  kNewInteger,  // as kInteger, written only when it differs from a fresh setup's value
  kExponent,    // "%e" of the field
  kPath,        // one of the three paths, unchanged
  kEmpty,       // an empty line
};

enum class PathSlot { kNone, kFft, kWt, kHw };

struct SetupLine {
  LineKind kind;
  std::string_view key;
  double CalcSettings::*field;
  PathSlot path;
};

// The file, line by line, as the writer produces it; the reader matches keys against it.
constexpr SetupLine kSetupLines[] = {
    {LineKind::kInteger, "[FFT-Precision]", &CalcSettings::fftPrecision, PathSlot::kNone},
    {LineKind::kInteger, "[FFT-Window]", &CalcSettings::fftWindow, PathSlot::kNone},
    {LineKind::kPath, "[FFT-Path]", nullptr, PathSlot::kFft},
    {LineKind::kEmpty, "", nullptr, PathSlot::kNone},
    {LineKind::kInteger, "[WT-Size]", &CalcSettings::wtSize, PathSlot::kNone},
    {LineKind::kInteger, "[WT-Type]", &CalcSettings::wtType, PathSlot::kNone},
    {LineKind::kExponent, "[WT-TimeStart]", &CalcSettings::timeStart, PathSlot::kNone},
    {LineKind::kExponent, "[WT-TimeEnd]", &CalcSettings::timeEnd, PathSlot::kNone},
    {LineKind::kExponent, "[WT-TimeRes]", &CalcSettings::timeRes, PathSlot::kNone},
    {LineKind::kExponent, "[WT-FreqStart]", &CalcSettings::freqStart, PathSlot::kNone},
    {LineKind::kExponent, "[WT-FreqEnd]", &CalcSettings::freqEnd, PathSlot::kNone},
    {LineKind::kExponent, "[WT-FreqRes]", &CalcSettings::freqRes, PathSlot::kNone},
    {LineKind::kInteger, "[WT-AutoResTime]", &CalcSettings::autoResTime, PathSlot::kNone},
    {LineKind::kInteger, "[WT-AutoROI]", &CalcSettings::autoRoi, PathSlot::kNone},
    {LineKind::kInteger, "[WT-AutoResFreq]", &CalcSettings::autoResFreq, PathSlot::kNone},
    {LineKind::kInteger, "[WT-Complex]", &CalcSettings::wtComplex, PathSlot::kNone},
    {LineKind::kExponent, "[WT-Threshold]", &CalcSettings::threshold, PathSlot::kNone},
    {LineKind::kInteger, "[FFT-Outputtype]", &CalcSettings::fftOutputType, PathSlot::kNone},
    {LineKind::kPath, "[WT-Path]", nullptr, PathSlot::kWt},
    {LineKind::kEmpty, "", nullptr, PathSlot::kNone},
    {LineKind::kPath, "[HW-Path]", nullptr, PathSlot::kHw},
    {LineKind::kInteger, "[CWD-Size]", &CalcSettings::cwdSize, PathSlot::kNone},
    {LineKind::kInteger, "[CWD-Sigma]", &CalcSettings::cwdSigma, PathSlot::kNone},
    {LineKind::kInteger, "[WT-Select]", &CalcSettings::wtSelect, PathSlot::kNone},
    {LineKind::kNewInteger, "[WT-Method]", &CalcSettings::wtMethod, PathSlot::kNone},
    {LineKind::kNewInteger, "[Max-Samples]", &CalcSettings::maxSamples, PathSlot::kNone},
};

// One of the three paths by its slot (const for the writer, mutable for the reader).
template <typename Text>
Text& SelectPath(PathSlot slot, Text& fftPath, Text& wtPath, Text& hwPath) {
  return slot == PathSlot::kFft ? fftPath : (slot == PathSlot::kWt ? wtPath : hwPath);
}

// Where the reader puts what it finds.
struct SetupTarget {
  CalcSettings& settings;
  std::string& fftPath;
  std::string& wtPath;
  std::string& hwPath;
};

// Applies one line (without its line end): the text before the first tab is the key, the text
// after it the value. True when the key is a setup key.
bool ApplyLine(std::string_view line, SetupTarget& target) {
  const size_t tab = line.find('\t');
  if (tab == std::string_view::npos) return false;
  const std::string_view key = line.substr(0, tab);
  const std::string_view value = line.substr(tab + 1);
  for (const SetupLine& entry : kSetupLines) {
    if (entry.kind == LineKind::kEmpty || entry.key != key) continue;
    if (entry.kind == LineKind::kPath)
      SelectPath(entry.path, target.fftPath, target.wtPath, target.hwPath).assign(value);
    else
      target.settings.*entry.field = ParseDouble(value);
    return true;
  }
  return false;
}

// Splits the text at LF, drops a CR before each line end, and applies every line in order, so
// that a repeated key keeps its last value. Returns the number of lines with a setup key.
int ApplyText(std::string_view text, SetupTarget& target) {
  int keys = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (ApplyLine(line, target)) ++keys;
  }
  return keys;
}

}  // namespace

std::string SetupFileText(const CalcSettings& settings, const std::string& fftPath,
                          const std::string& wtPath, const std::string& hwPath) {
  std::string out;
  const CalcSettings fresh = DefaultCalcSettings();
  for (const SetupLine& entry : kSetupLines) {
    if (entry.kind == LineKind::kNewInteger &&
        TruncateToInt(settings.*entry.field) == TruncateToInt(fresh.*entry.field))
      continue;
    if (entry.kind != LineKind::kEmpty) {
      out.append(entry.key);
      out.push_back('\t');
    }
    switch (entry.kind) {
      case LineKind::kInteger:
      case LineKind::kNewInteger:
        out.append(FormatD(TruncateToInt(settings.*entry.field)));
        break;
      case LineKind::kExponent:
        AppendE(out, settings.*entry.field);
        break;
      case LineKind::kPath:
        out.append(SelectPath(entry.path, fftPath, wtPath, hwPath));
        break;
      case LineKind::kEmpty:
        break;
    }
    out.push_back('\n');
  }
  return out;
}

bool LoadSetup(CalcSettings& settings, std::string& fftPath, std::string& wtPath,
               std::string& hwPath, const std::string& fileName, int* keysFound) {
  // Only a regular file is a setup file: a plain open would take a folder, and wait for ever
  // for a writer on a named pipe.
  std::FILE* file = OpenRegularFileStream(fileName);
  if (file == nullptr) return false;
  std::string text;
  char buffer[4096];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof(buffer), file)) > 0) text.append(buffer, count);
  const bool read_error = std::ferror(file) != 0;
  std::fclose(file);
  if (read_error) {
    // Whole lines read before the error keep their values; a cut-off last line is dropped.
    const size_t last_end = text.rfind('\n');
    text.resize(last_end == std::string::npos ? 0 : last_end + 1);
  }
  SetupTarget target{settings, fftPath, wtPath, hwPath};
  const int keys = ApplyText(text, target);
  if (keysFound != nullptr) *keysFound = keys;
  return !read_error;
}

std::string SetupNumberProblem(std::string_view text) {
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, tab);
    const std::string_view value = line.substr(tab + 1);
    for (const SetupLine& entry : kSetupLines) {
      const bool integer = entry.kind == LineKind::kInteger || entry.kind == LineKind::kNewInteger;
      if (entry.key != key || (!integer && entry.kind != LineKind::kExponent)) continue;
      double number = 0.0;
      const bool whole = ParseWholeNumber(value, number) && std::isfinite(number);
      if (!whole || (integer && number != std::trunc(number)))
        return std::string(key) + " value \"" + std::string(value) + "\" is not " +
               (integer ? "a whole number" : "a finite number");
    }
  }
  return {};
}

bool SaveSetup(const CalcSettings& settings, const std::string& fftPath, const std::string& wtPath,
               const std::string& hwPath, const std::string& fileName, std::string* error) {
  return WriteTextFile(fileName, SetupFileText(settings, fftPath, wtPath, hwPath), error);
}

}  // namespace plexo
