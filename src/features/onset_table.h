#pragma once
// The onset review file, FXData/Onsets.txt (or <stem>_FXData/Onsets.txt beside a database): one
// row per waveform with the automatic AIC pick, the pick a person corrected it to, and whether
// the hit is kept. It has the layout of the feature results table (tab after every cell, CR LF,
// a header line and a units line; times as the arrival time column prints them):
//
//   file name   automatic onset   automatic arrival time   corrected onset   corrected arrival time
//   state
//               sample            s                        sample            s
//   hit_001.txt 117               1.17000000000000e-005    120               1.20000000000000e-005
//   corrected
//
// The first header is "TRAI" for the records of a database. The onset is a sample index (the
// onset in seconds from the first sample is index * dt); an arrival time is that plus the
// waveform's time of test. When a hand-edited file's corrected sample and corrected time
// disagree, the sample holds: the times are written for the reader of the file, and a run that
// uses the file says which rows disagree.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plexo {

inline constexpr const char* kOnsetFileName = "Onsets.txt";

enum class OnsetState { kAutomatic, kCorrected, kRejected };

// "automatic", "corrected", "rejected"; the state of a word in any letter case, or nothing.
const char* OnsetStateName(OnsetState state);
std::optional<OnsetState> OnsetStateNamed(std::string_view word);

struct OnsetRow {
  std::string name;  // the waveform's file name, or a record's TRAI
  int automaticSample = 0;
  double automaticTime = 0.0;  // s, automaticSample * dt + time of test
  int correctedSample = 0;
  double correctedTime = 0.0;
  OnsetState state = OnsetState::kAutomatic;
  bool operator==(const OnsetRow&) const = default;
};

class OnsetTable {
 public:
  bool database = false;  // names are TRAIs (the first header is "TRAI")

  const std::vector<OnsetRow>& Rows() const { return rows_; }
  int Count() const { return static_cast<int>(rows_.size()); }
  // Row i, to correct it (its name stays).
  OnsetRow& Row(int i) { return rows_[static_cast<size_t>(i)]; }
  // Appends a row; false (and nothing added) when its name is listed already.
  bool Add(OnsetRow row);
  // The row of a waveform by name, or nullptr.
  const OnsetRow* Find(std::string_view name) const;
  OnsetRow* Find(std::string_view name);

 private:
  std::vector<OnsetRow> rows_;
  std::map<std::string, size_t, std::less<>> index_;  // name -> row
};

// The row of a fresh pick: corrected = automatic, state automatic.
OnsetRow AutomaticOnsetRow(std::string name, int sample, double dt, double timeOfTest);

// The arrival time of a sample: sample * dt + time of test, computed as the feature run computes
// its arrival time, so that the printed texts agree to the character.
double OnsetArrivalTime(int sample, double dt, double timeOfTest);

// The text of the file, lines ended by "\n" (the writer makes them CR LF).
std::string OnsetTableText(const OnsetTable& table);

// Reads a file written by OnsetTableText, perhaps edited by hand: CR LF or LF, the last cell's
// tab may be missing, blank lines are ignored, a state may be written in any letter case. A row
// whose corrected sample differs from the automatic one while its state still says automatic is
// taken as corrected. False with `why` naming the file and the line for a file that cannot be
// read, a header or units line that is not this layout, a row without six cells, a sample that
// is not a whole number >= 0, a time that is not a number, an unknown state, an empty name or a
// name given twice.
bool ReadOnsetTable(const std::string& path, OnsetTable& table, std::string& why);

}  // namespace plexo
