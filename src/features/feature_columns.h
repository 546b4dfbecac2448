#pragma once
// The 25 columns of the feature results table: the check box that selects each, its header and
// unit texts, and how its value is printed.
#include <array>
#include <bitset>
#include <string>

namespace plexo {

inline constexpr int kFeatureColumnCount = 25;

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
};

struct FeatureColumnSpec {
  int checkBox;        // control id of the check box in the feature dialog
  const char* header;  // header line text
  const char* unit;    // units line text
  int precision;       // digits after the point of the "%e"-style value (6, or 14 for times)
};

const std::array<FeatureColumnSpec, kFeatureColumnCount>& FeatureColumnTable();

// Which columns a table holds.
using FeatureColumns = std::bitset<kFeatureColumnCount>;

// The columns the feature dialog checks when it opens.
FeatureColumns DefaultFeatureColumns();
// Whether any of the seven wavelet columns is selected (the wavelet step runs only then).
bool NeedsWaveletFeatures(const FeatureColumns& columns);

// The header and units lines ("text\t" per column, then "\n"). With file names the table starts
// with a "file name" column whose unit text is empty.
std::string FeatureHeaderLines(const FeatureColumns& columns, bool withFileNames);

}  // namespace plexo
