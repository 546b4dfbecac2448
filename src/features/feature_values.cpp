#include "features/feature_values.h"

namespace plexo {

double FeatureValues::Column(int column) const {
  switch (column) {
    case kColArrivalTime:
      return arrivalTime;
    case kColPeakAmplitude:
      return peakAmplitude;
    case kColSignalEnergy:
      return signalEnergy;
    case kColFrequencyCentroid:
      return frequencyCentroid;
    case kColModulusMaximumTime:
      return modulusMaximumTime;
    case kColModulusMaximumFrequency:
      return modulusMaximumFrequency;
    case kColModulusMaximum:
      return modulusMaximum;
    default:
      break;
  }
  if (column >= kColPeakFrequency1 && column < kColPeakFrequency1 + 3)
    return peakFrequency[column - kColPeakFrequency1];
  if (column >= kColWeightedPeakFrequency1 && column < kColWeightedPeakFrequency1 + 3)
    return weightedPeakFrequency[column - kColWeightedPeakFrequency1];
  if (column >= kColPartialPower1 && column < kColPartialPower1 + 8)
    return partialPower[column - kColPartialPower1];
  if (column >= kColTimeFrequencyPower1 && column < kColTimeFrequencyPower1 + 4)
    return timeFrequencyPower[column - kColTimeFrequencyPower1];
  return 0.0;
}

}  // namespace plexo
