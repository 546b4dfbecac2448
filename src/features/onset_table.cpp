#include "features/onset_table.h"

#include <cmath>
#include <map>

#include "platform/file_system.h"
#include "platform/text_lines.h"
#include "signal/number_text.h"

namespace plexo {
namespace {

constexpr int kCells = 6;
constexpr const char* kHeaders[kCells] = {
    "file name",       "automatic onset",        "automatic arrival time",
    "corrected onset", "corrected arrival time", "state"};
constexpr const char* kUnits[kCells] = {"", "sample", "s", "sample", "s", ""};
constexpr int kTimePrecision = 14;  // as the arrival time column of the results table

// The cells of a line split at tabs; one trailing tab (the writer's) ends the last cell.
std::vector<std::string_view> Cells(std::string_view line) {
  std::vector<std::string_view> cells;
  if (!line.empty() && line.back() == '\t') line.remove_suffix(1);
  size_t start = 0;
  while (true) {
    const size_t tab = line.find('\t', start);
    cells.push_back(line.substr(start, tab == std::string_view::npos ? line.npos : tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  return cells;
}

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsBlank(std::string_view line) { return Trimmed(line).empty(); }

bool SameWords(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// A sample index: a whole number from 0 to the int range, written in any exact form.
bool ParseSample(std::string_view text, int& sample) {
  double value = 0.0;
  if (!ParseWholeNumber(text, value) || !(value >= 0.0) || value > 2147483647.0 ||
      value != std::floor(value))
    return false;
  sample = static_cast<int>(value);
  return true;
}

bool ParseTime(std::string_view text, double& time) {
  return ParseWholeNumber(text, time) && std::isfinite(time);
}

}  // namespace

const char* OnsetStateName(OnsetState state) {
  switch (state) {
    case OnsetState::kAutomatic:
      return "automatic";
    case OnsetState::kCorrected:
      return "corrected";
    case OnsetState::kRejected:
      return "rejected";
  }
  return "automatic";
}

std::optional<OnsetState> OnsetStateNamed(std::string_view word) {
  for (OnsetState state : {OnsetState::kAutomatic, OnsetState::kCorrected, OnsetState::kRejected})
    if (SameWords(word, OnsetStateName(state))) return state;
  return std::nullopt;
}

bool OnsetTable::Add(OnsetRow row) {
  if (!index_.emplace(row.name, rows_.size()).second) return false;
  rows_.push_back(std::move(row));
  return true;
}

const OnsetRow* OnsetTable::Find(std::string_view name) const {
  const auto found = index_.find(name);
  return found == index_.end() ? nullptr : &rows_[found->second];
}

OnsetRow* OnsetTable::Find(std::string_view name) {
  return const_cast<OnsetRow*>(static_cast<const OnsetTable&>(*this).Find(name));
}

double OnsetArrivalTime(int sample, double dt, double timeOfTest) {
  const double onset = sample * dt;
  return onset + timeOfTest;
}

OnsetRow AutomaticOnsetRow(std::string name, int sample, double dt, double timeOfTest) {
  OnsetRow row;
  row.name = std::move(name);
  row.automaticSample = sample;
  row.automaticTime = OnsetArrivalTime(sample, dt, timeOfTest);
  row.correctedSample = sample;
  row.correctedTime = row.automaticTime;
  return row;
}

std::string OnsetTableText(const OnsetTable& table) {
  std::string text;
  for (int c = 0; c < kCells; ++c) {
    text += c == 0 && table.database ? "TRAI" : kHeaders[c];
    text += '\t';
  }
  text += '\n';
  for (const char* unit : kUnits) {
    text += unit;
    text += '\t';
  }
  text += '\n';
  for (const OnsetRow& row : table.Rows()) {
    text += row.name;
    text += '\t';
    text += FormatD(row.automaticSample);
    text += '\t';
    AppendE(text, row.automaticTime, kTimePrecision);
    text += '\t';
    text += FormatD(row.correctedSample);
    text += '\t';
    AppendE(text, row.correctedTime, kTimePrecision);
    text += '\t';
    text += OnsetStateName(row.state);
    text += "\t\n";
  }
  return text;
}

bool ReadOnsetTable(const std::string& path, OnsetTable& table, std::string& why) {
  table = OnsetTable{};
  FileBytes bytes;
  if (ReadWholeFile(path, bytes) != kFileRead) {
    const std::string reason = WhyNotReadable(path);
    why = path + ": " + (reason.empty() ? "the file could not be read" : reason);
    return false;
  }
  LineSplitter lines(bytes.Text());
  std::string_view line;
  int number = 0;
  auto refuse = [&](const std::string& reason) {
    why = path + ": line " + std::to_string(number) + ": " + reason;
    table = OnsetTable{};  // nothing half read
    return false;
  };
  std::string expected_header;
  for (int c = 1; c < kCells; ++c) expected_header += std::string("\t") + kHeaders[c];
  const std::string layout = std::string("file name (or TRAI)") + expected_header;
  // The header line.
  ++number;
  if (!lines.Next(line)) {
    why = path + ": the file is empty; an onsets file starts with the header line " + layout;
    return false;
  }
  {
    const std::vector<std::string_view> cells = Cells(line);
    bool ok = cells.size() == kCells;
    for (int c = 0; ok && c < kCells; ++c) {
      const std::string_view cell = Trimmed(cells[static_cast<size_t>(c)]);
      ok = SameWords(cell, kHeaders[c]) || (c == 0 && SameWords(cell, "TRAI"));
    }
    if (!ok) return refuse("not the header line of an onsets file (" + layout + ")");
    table.database = SameWords(Trimmed(cells[0]), "TRAI");
  }
  // The units line.
  ++number;
  {
    bool ok = lines.Next(line);
    if (ok) {
      std::vector<std::string_view> cells = Cells(line);
      // An editor that drops the trailing tab drops the empty last cell with it.
      if (cells.size() == kCells - 1) cells.emplace_back();
      ok = cells.size() == kCells;
      for (int c = 0; ok && c < kCells; ++c)
        ok = SameWords(Trimmed(cells[static_cast<size_t>(c)]), kUnits[c]);
    }
    if (!ok)
      return refuse("not the units line of an onsets file (empty, sample, s, sample, s, empty)");
  }
  std::map<std::string, int, std::less<>> seen;  // name -> its line
  while (lines.Next(line)) {
    ++number;
    if (IsBlank(line)) continue;
    const std::vector<std::string_view> cells = Cells(line);
    if (cells.size() != kCells)
      return refuse(
          "a row has 6 cells (name, automatic onset, automatic arrival time, corrected "
          "onset, corrected arrival time, state), this one " +
          std::to_string(cells.size()));
    OnsetRow row;
    row.name = std::string(cells[0]);
    if (Trimmed(row.name).empty()) return refuse("the name is empty");
    if (const auto found = seen.find(row.name); found != seen.end())
      return refuse(row.name + " is listed twice (first on line " + std::to_string(found->second) +
                    ")");
    if (!ParseSample(cells[1], row.automaticSample))
      return refuse("automatic onset " + std::string(cells[1]) +
                    " is not a sample number (a whole number >= 0)");
    if (!ParseTime(cells[2], row.automaticTime))
      return refuse("automatic arrival time " + std::string(cells[2]) + " is not a number");
    if (!ParseSample(cells[3], row.correctedSample))
      return refuse("corrected onset " + std::string(cells[3]) +
                    " is not a sample number (a whole number >= 0)");
    if (!ParseTime(cells[4], row.correctedTime))
      return refuse("corrected arrival time " + std::string(cells[4]) + " is not a number");
    const std::optional<OnsetState> state = OnsetStateNamed(Trimmed(cells[5]));
    if (!state)
      return refuse("state " + std::string(cells[5]) +
                    " is not one of automatic, corrected, rejected");
    row.state = *state;
    if (row.state == OnsetState::kAutomatic && row.correctedSample != row.automaticSample)
      row.state = OnsetState::kCorrected;
    seen.emplace(row.name, number);
    table.Add(std::move(row));
  }
  return true;
}

}  // namespace plexo
