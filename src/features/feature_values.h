#pragma once
// The values one waveform contributes to the feature results table.
#include <array>

#include "features/feature_columns.h"

namespace plexo {

// The analysis window of one waveform, in seconds from its first sample.
struct SignalWindow {
  double start = 0.0;
  double end = 0.0;
  double onset = 0.0;  // the onset pick; 0 when the picker is off
};

// One value per table column, indexed by the column. The wavelet times and frequency are already
// moved onto the test's time axis and the frequency range (what the table shows).
struct FeatureValues {
  std::array<double, kFeatureColumnCount> values{};

  double& operator[](int column) { return values[column]; }
  double operator[](int column) const { return values[column]; }
  // The value of a table column.
  double Column(int column) const { return values[column]; }
};

}  // namespace plexo
