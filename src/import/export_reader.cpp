#include "import/export_reader.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "import/export_text.h"
#include "signal/number_text.h"

namespace plexo {
namespace {

constexpr std::string_view kIntervalPrefix = "SAMPLE INTERVAL (Seconds):";
constexpr std::string_view kPointCountKey = "NUMBER OF DATA POINTS PER WAVEFORM";

bool Contains(std::string_view line, std::string_view key) {
  return line.find(key) != std::string_view::npos;
}

std::string Quoted(std::string_view text) {
  constexpr size_t kShown = 40;
  std::string quoted(1, '"');
  quoted.append(text.substr(0, kShown));
  if (text.size() > kShown) quoted.append("...");
  quoted.push_back('"');
  return quoted;
}

std::string LineRef(size_t index) { return "line " + std::to_string(index + 1); }

// The value of a header line: the text after the colon that follows `key`, trimmed.
std::string_view ValueAfter(std::string_view line, std::string_view key) {
  size_t at = line.find(key);
  if (at == std::string_view::npos) return {};
  std::string_view rest = line.substr(at + key.size());
  const size_t colon = rest.find(':');
  if (colon != std::string_view::npos) rest.remove_prefix(colon + 1);
  return TrimBlanks(rest);
}

std::optional<long long> WholeNumber(std::string_view text) {
  const auto value = ParseNumberField(text);
  if (!value || !std::isfinite(*value) || *value != std::floor(*value) || *value < -9e15 ||
      *value > 9e15)
    return std::nullopt;
  return static_cast<long long>(*value);
}

std::optional<int> ChannelNumber(std::string_view text) {
  const auto value = WholeNumber(text);
  if (!value || *value < INT_MIN || *value > INT_MAX) return std::nullopt;
  return static_cast<int>(*value);
}

struct HeaderScan {
  bool hasInterval = false;
  int timeOfTestLine = -1;
  std::optional<long long> declaredPoints;
};

// Header values by key, as the waveform reader finds them, but with the text after each key's
// colon taken trimmed so that tabs do not pile up when the file is written again.
bool ReadHeader(const std::vector<std::string_view>& lines, size_t count, ExportContents& out,
                HeaderScan& scan) {
  for (size_t i = 0; i < count && i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (Contains(line, "DATE:")) out.header.date = std::string(ValueAfter(line, "DATE"));
    if (Contains(line, "TIME:")) out.header.time = std::string(ValueAfter(line, "TIME"));
    if (Contains(line, "SAMPLE INTERVAL")) {
      if (line.substr(0, kIntervalPrefix.size()) != kIntervalPrefix) {
        out.error = LineRef(i) + ": the sample interval line does not begin with \"" +
                    std::string(kIntervalPrefix) + "\"";
        return false;
      }
      const auto value = ParseNumberField(line.substr(kIntervalPrefix.size()));
      if (!value || !std::isfinite(*value)) {
        out.error = LineRef(i) + ": the sample interval " +
                    Quoted(TrimBlanks(line.substr(kIntervalPrefix.size()))) +
                    " is not a finite number";
        return false;
      }
      out.header.sampleInterval = *value;
      scan.hasInterval = *value > 0.0;
    }
    if (Contains(line, "UNITS") && !Contains(line, "TIME UNITS"))
      out.header.units = std::string(ValueAfter(line, "UNITS"));
    if (Contains(line, "CHANNEL NUMBER")) {
      const auto channel = ChannelNumber(ValueAfter(line, "CHANNEL NUMBER"));
      if (!channel) {
        out.error = LineRef(i) + ": the channel number " +
                    Quoted(ValueAfter(line, "CHANNEL NUMBER")) + " is not a whole number";
        return false;
      }
      out.header.channel = *channel;
    }
    if (Contains(line, "TIME OF TEST")) {
      const auto value = ParseNumberField(ValueAfter(line, "TIME OF TEST"));
      if (!value || !std::isfinite(*value)) {
        out.error = LineRef(i) + ": the time of test " + Quoted(ValueAfter(line, "TIME OF TEST")) +
                    " is not a finite number";
        return false;
      }
      out.header.timeOfTest = *value;
      scan.timeOfTestLine = static_cast<int>(i);
    }
    // "-/-" in the program's own files: no hit number.
    if (Contains(line, "HIT NUMBER")) out.hitNumber = WholeNumber(ValueAfter(line, "HIT NUMBER"));
    if (Contains(line, kPointCountKey))
      scan.declaredPoints = WholeNumber(ValueAfter(line, kPointCountKey));
  }
  return true;
}

// The index one past the last line that is not blank.
size_t EndOfContent(const std::vector<std::string_view>& lines, size_t first) {
  size_t end = lines.size();
  if (end < first) return first;  // a header cut short
  while (end > first && TrimBlanks(lines[end - 1]).empty()) --end;
  return end;
}

// One sample from a field, or the reason it is refused.
bool SampleFrom(std::string_view field, size_t line, double& value, std::string& error) {
  const auto number = ParseNumberField(field);
  if (!number) {
    error = LineRef(line) + ": " + Quoted(TrimBlanks(field)) + " is not a number";
    return false;
  }
  if (!std::isfinite(*number)) {
    error = LineRef(line) + ": " + Quoted(TrimBlanks(field)) + " is not a finite number";
    return false;
  }
  value = *number;
  return true;
}

bool ReadColumn(const std::vector<std::string_view>& lines, size_t first, ExportContents& out) {
  const size_t end = EndOfContent(lines, first);
  out.samples.reserve(end - first);
  for (size_t i = first; i < end; ++i) {
    double value = 0.0;
    if (!SampleFrom(lines[i], i, value, out.error)) return false;
    out.samples.push_back(value);
  }
  return true;
}

// Splits a row into its time and value fields. Semicolons or tabs separate the columns when
// present (decimal commas then stand inside the numbers); else a comma does, which with
// decimal commas must be the one followed by a blank.
bool SplitRow(std::string_view row, std::string_view& time, std::string_view& value) {
  size_t at = row.find_first_of(";\t");
  if (at == std::string_view::npos) {
    const size_t commas = static_cast<size_t>(std::count(row.begin(), row.end(), ','));
    if (commas == 1) {
      at = row.find(',');
    } else {
      at = row.find(", ");
      if (at == std::string_view::npos || row.find(", ", at + 1) != std::string_view::npos)
        return false;
    }
  }
  time = row.substr(0, at);
  value = row.substr(at + 1);
  return true;
}

bool ReadRows(const std::vector<std::string_view>& lines, size_t first, ExportContents& out) {
  const size_t end = EndOfContent(lines, first);
  out.samples.reserve(end - first);
  for (size_t i = first; i < end; ++i) {
    std::string_view time, value_field;
    if (!SplitRow(lines[i], time, value_field)) {
      out.error = LineRef(i) + ": " + Quoted(lines[i]) + " is not a row of time and value";
      return false;
    }
    double time_value = 0.0, value = 0.0;
    if (!SampleFrom(time, i, time_value, out.error) ||
        !SampleFrom(value_field, i, value, out.error))
      return false;
    out.samples.push_back(value);
  }
  return true;
}

bool IsDigits(std::string_view text) {
  if (text.empty() || text.size() > 15) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// "<test>_<channel>_<hit>_<time of test in us>": the channel and time of test, when it fits.
void HeaderFromName(std::string_view stem, std::optional<int>& channel,
                    std::optional<long long>& hit, std::optional<double>& timeOfTest) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (true) {
    const size_t at = stem.find('_', start);
    parts.push_back(stem.substr(start, at == std::string_view::npos ? at : at - start));
    if (at == std::string_view::npos) break;
    start = at + 1;
  }
  if (parts.size() < 4) return;
  const size_t n = parts.size();
  if (parts[0].empty() || !IsDigits(parts[n - 3]) || !IsDigits(parts[n - 2]) ||
      !IsDigits(parts[n - 1]))
    return;
  const auto number = ChannelNumber(parts[n - 3]);
  const auto micros = WholeNumber(parts[n - 1]);
  if (!number || !micros) return;
  channel = number;
  hit = WholeNumber(parts[n - 2]);
  timeOfTest = static_cast<double>(*micros) / 1e6;
}

void ApplyIntervalOption(const ImportOptions& options, bool has_interval, ExportContents& out) {
  if (has_interval) return;
  if (options.sampleInterval) {
    out.header.sampleInterval = *options.sampleInterval;
    return;
  }
  if (out.kind == ExportKind::kHeaderless)
    out.error = "a headerless file has no sample interval: give it with --dt SECONDS";
  else
    out.error = "the header gives no sample interval: give it with --dt SECONDS";
}

void AddLengthWarning(ExportContents& out) {
  if (out.samples.size() > static_cast<size_t>(MAX_SAMPLES))
    out.warnings.push_back(std::to_string(out.samples.size()) +
                           " samples: written whole, but calculations handle at most " +
                           std::to_string(MAX_SAMPLES) + " samples per waveform");
}

}  // namespace

ExportContents ReadExportText(std::string_view text, std::string_view stem,
                              const ImportOptions& options) {
  ExportContents out;
  const std::vector<std::string_view> lines = SplitExportLines(text);
  out.kind = RecogniseExport(lines);
  HeaderScan scan;
  switch (out.kind) {
    case ExportKind::kDatabaseRecord:  // never recognised from a text
    case ExportKind::kUnknown:
      out.kind = ExportKind::kUnknown;
      out.error =
          "not a waveform export this program knows (nine-line waveform file, "
          "twelve-line CSV export or a headerless column of samples)";
      return out;
    case ExportKind::kNineLine:
      if (!ReadHeader(lines, kNineLineFirstSample, out, scan)) return out;
      if (!ReadColumn(lines, kNineLineFirstSample, out)) return out;
      // The waveform reader stores the line after the one following the time of test as 0;
      // the copy keeps what the calculations read from the original.
      if (scan.timeOfTestLine >= 0) {
        const long long forced = scan.timeOfTestLine + 2 - kNineLineFirstSample;
        if (forced >= 0 && forced < static_cast<long long>(out.samples.size()))
          out.samples[forced] = 0.0;
      }
      break;
    case ExportKind::kCsvExport:
      if (!ReadHeader(lines, kCsvHeaderLines, out, scan)) return out;
      if (!ReadRows(lines, kCsvFirstRowLine, out)) return out;
      if (!scan.declaredPoints)
        out.warnings.push_back("the number of data points in the header is not a number");
      else if (*scan.declaredPoints != static_cast<long long>(out.samples.size()))
        out.warnings.push_back("the header declares " + std::to_string(*scan.declaredPoints) +
                               " data points, the file holds " +
                               std::to_string(out.samples.size()));
      break;
    case ExportKind::kHeaderless: {
      if (!ReadColumn(lines, 0, out)) return out;
      std::optional<int> channel;
      std::optional<double> time_of_test;
      HeaderFromName(stem, channel, out.hitNumber, time_of_test);
      out.header.channel = options.channel.value_or(channel.value_or(1));
      out.header.timeOfTest = options.timeOfTest.value_or(time_of_test.value_or(0.0));
      out.header.units = options.units.value_or(std::string(kDefaultUnits));
      break;
    }
  }
  if (out.samples.empty()) {
    out.error = "the file holds no samples";
    return out;
  }
  if (out.samples.size() > static_cast<size_t>(INT_MAX)) {
    out.error = "too many samples";
    return out;
  }
  ApplyIntervalOption(options, scan.hasInterval, out);
  if (!out.error.empty()) return out;
  AddLengthWarning(out);
  return out;
}

}  // namespace plexo
