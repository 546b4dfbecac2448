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

struct FeatureValues {
  double arrivalTime = 0.0;
  double peakAmplitude = 0.0;
  double signalEnergy = 0.0;
  std::array<double, 3> peakFrequency{};
  std::array<double, 3> weightedPeakFrequency{};
  double frequencyCentroid = 0.0;
  std::array<double, 8> partialPower{};
  // Already moved onto the test's time axis and the frequency range (what the table shows).
  double modulusMaximumTime = 0.0;
  double modulusMaximumFrequency = 0.0;
  double modulusMaximum = 0.0;
  std::array<double, 4> timeFrequencyPower{};

  // The value of a table column.
  double Column(int column) const;
};

}  // namespace plexo
