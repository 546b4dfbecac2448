#pragma once
// The columns of the feature results table, one row each: its command-line name, header and unit
// texts, how its value is printed, the step that computes it, the feature dialog's check box that
// selects it and whether that box starts checked. The command line, the dialog, the table writer
// and the run read this table; a new column is one row here, its computation and its check box.
#include <array>
#include <bitset>
#include <string>

#include "platform/dialog_template.h"

namespace plexo {

// Column indices in table order.
enum FeatureColumn : int {
  kColArrivalTime = 0,
  kColPeakAmplitude,
  kColSignalEnergy,
  kColPeakFrequency1,
  kColPeakFrequency2,
  kColPeakFrequency3,
  kColWeightedPeakFrequency1,
  kColWeightedPeakFrequency2,
  kColWeightedPeakFrequency3,
  kColFrequencyCentroid,
  kColPartialPower1,  // .. kColPartialPower1 + 7
  kColModulusMaximumTime = kColPartialPower1 + 8,
  kColModulusMaximumFrequency,
  kColModulusMaximum,
  kColTimeFrequencyPower1,  // .. kColTimeFrequencyPower1 + 3
  kFeatureColumnEnd = kColTimeFrequencyPower1 + 4
};

inline constexpr int kFeatureColumnCount = kFeatureColumnEnd;

// The step of a waveform's features that computes a column. The wavelet step is the slow one: it
// runs only when one of its columns is written.
enum class FeatureFamily { kTime, kFft, kWavelet };

struct FeatureColumnEntry {
  int column;            // its own index, checked against its place in the table
  const char* name;      // command-line name (--columns)
  const char* header;    // header line text
  const char* unit;      // units line text
  int precision;         // digits after the point of the "%e"-style value (6, or 14 for times)
  FeatureFamily family;  // the step that computes it
  ControlId checkBox;    // control id of the check box in the feature dialog
  bool byDefault;        // checked when the dialog opens, written when no column is named
  const char* help;      // what the value is, as --help says it (numbered runs share one text)
};

inline constexpr const char* kPeakFrequencyHelp =
    "largest bins of the windowed spectrum, each more than\n    fs/200 from the ones before";
inline constexpr const char* kWeightedPeakFrequencyHelp = "sqrt(peak frequency x centroid)";
inline constexpr const char* kPartialPowerHelp =
    "magnitude share of --band K (begin <= f < end) in\n    the spectrum below the largest band "
    "end";
inline constexpr const char* kTimeFrequencyPowerHelp =
    "share of --wt-band K (begin < f <= end) in the sum of the bands'\n    largest magnitudes";

// "frequeny" is how every table written so far spells it; readers match the header.
// clang-format off
inline constexpr std::array<FeatureColumnEntry, kFeatureColumnCount> kFeatureColumnTable{{
    {kColArrivalTime, "arrival-time", "arrival time", "s", 14, FeatureFamily::kTime, 1105, false,
     "onset pick + time of test (the time of test without --aic)"},
    {kColPeakAmplitude, "amplitude", "maximum signal amplitude", "V", 6, FeatureFamily::kTime, 1106, true,
     "largest magnitude in the window"},
    {kColSignalEnergy, "energy", "signal energy", "J", 6, FeatureFamily::kTime, 1107, true,
     "sum of squares x dt / --impedance"},
    {kColPeakFrequency1, "peak-frequency-1", "peak frequency 1", "Hz", 6, FeatureFamily::kFft, 1052, true,
     kPeakFrequencyHelp},
    {kColPeakFrequency1 + 1, "peak-frequency-2", "peak frequency 2", "Hz", 6, FeatureFamily::kFft, 1053, true,
     kPeakFrequencyHelp},
    {kColPeakFrequency1 + 2, "peak-frequency-3", "peak frequency 3", "Hz", 6, FeatureFamily::kFft, 1054, true,
     kPeakFrequencyHelp},
    {kColWeightedPeakFrequency1, "weighted-peak-frequency-1", "weighted peak frequency 1", "Hz", 6, FeatureFamily::kFft, 1055, true,
     kWeightedPeakFrequencyHelp},
    {kColWeightedPeakFrequency1 + 1, "weighted-peak-frequency-2", "weighted peak frequency 2", "Hz", 6, FeatureFamily::kFft, 1056, true,
     kWeightedPeakFrequencyHelp},
    {kColWeightedPeakFrequency1 + 2, "weighted-peak-frequency-3", "weighted peak frequency 3", "Hz", 6, FeatureFamily::kFft, 1057, true,
     kWeightedPeakFrequencyHelp},
    {kColFrequencyCentroid, "centroid", "frequency centroid", "Hz", 6, FeatureFamily::kFft, 1058, true,
     "magnitude-weighted mean frequency"},
    {kColPartialPower1, "partial-power-1", "partial power 1", "%", 6, FeatureFamily::kFft, 1059, true,
     kPartialPowerHelp},
    {kColPartialPower1 + 1, "partial-power-2", "partial power 2", "%", 6, FeatureFamily::kFft, 1062, true,
     kPartialPowerHelp},
    {kColPartialPower1 + 2, "partial-power-3", "partial power 3", "%", 6, FeatureFamily::kFft, 1065, true,
     kPartialPowerHelp},
    {kColPartialPower1 + 3, "partial-power-4", "partial power 4", "%", 6, FeatureFamily::kFft, 1068, true,
     kPartialPowerHelp},
    {kColPartialPower1 + 4, "partial-power-5", "partial power 5", "%", 6, FeatureFamily::kFft, 1071, true,
     kPartialPowerHelp},
    {kColPartialPower1 + 5, "partial-power-6", "partial power 6", "%", 6, FeatureFamily::kFft, 1074, true,
     kPartialPowerHelp},
    {kColPartialPower1 + 6, "partial-power-7", "partial power 7", "%", 6, FeatureFamily::kFft, 1077, false,
     kPartialPowerHelp},
    {kColPartialPower1 + 7, "partial-power-8", "partial power 8", "%", 6, FeatureFamily::kFft, 1080, false,
     kPartialPowerHelp},
    {kColModulusMaximumTime, "mm-time", "modulus maximus time", "s", 14, FeatureFamily::kWavelet, 1086, false,
     "time of the largest wavelet coefficient + time of test"},
    {kColModulusMaximumFrequency, "mm-frequency", "modulus maximus frequency", "Hz", 6, FeatureFamily::kWavelet, 1087, false,
     "its frequency"},
    {kColModulusMaximum, "mm", "modulus maximus", "units", 6, FeatureFamily::kWavelet, 1092, false,
     "its magnitude"},
    {kColTimeFrequencyPower1, "tf-power-1", "time-frequeny power 1", "%", 6, FeatureFamily::kWavelet, 1089, false,
     kTimeFrequencyPowerHelp},
    {kColTimeFrequencyPower1 + 1, "tf-power-2", "time-frequeny power 2", "%", 6, FeatureFamily::kWavelet, 1095, false,
     kTimeFrequencyPowerHelp},
    {kColTimeFrequencyPower1 + 2, "tf-power-3", "time-frequeny power 3", "%", 6, FeatureFamily::kWavelet, 1098, false,
     kTimeFrequencyPowerHelp},
    {kColTimeFrequencyPower1 + 3, "tf-power-4", "time-frequeny power 4", "%", 6, FeatureFamily::kWavelet, 1101, false,
     kTimeFrequencyPowerHelp},
}};
// clang-format on

// Whether every row stands at its own index: a row left out would leave a zero row behind.
constexpr bool FeatureRowsInPlace() {
  for (int c = 0; c < kFeatureColumnCount; ++c) {
    if (kFeatureColumnTable[c].column != c || kFeatureColumnTable[c].name == nullptr) return false;
  }
  return true;
}
static_assert(FeatureRowsInPlace(), "every feature column needs its row, in table order");

// The table (kept as a function for callers that take it so).
inline const std::array<FeatureColumnEntry, kFeatureColumnCount>& FeatureColumnTable() {
  return kFeatureColumnTable;
}

// The check box of a column.
constexpr ControlId FeatureCheckBox(int column) { return kFeatureColumnTable[column].checkBox; }

// The column whose check box is `id`, or -1.
int FeatureColumnOfCheckBox(ControlId id);

// Which columns a table holds.
using FeatureColumns = std::bitset<kFeatureColumnCount>;

// The columns of one family.
FeatureColumns FamilyColumns(FeatureFamily family);
// The columns the feature dialog checks when it opens.
FeatureColumns DefaultFeatureColumns();
// Whether any wavelet column is selected (the wavelet step runs only then).
bool NeedsWaveletFeatures(const FeatureColumns& columns);

// The header and units lines ("text\t" per column, then "\n"). With file names the table starts
// with a "file name" column whose unit text is empty.
std::string FeatureHeaderLines(const FeatureColumns& columns, bool withFileNames);

}  // namespace plexo
