#include "features/feature_params.h"

#include <algorithm>

#include "signal/number_text.h"

namespace plexo {

FeatureSettings ParseFeatureParams(const FeatureParams& params, bool useAic) {
  FeatureSettings s;
  for (int b = 0; b < kPartialPowerBands; ++b) {
    s.ppBegin[b] = ParseDouble(params.ppBegin[b]);
    s.ppEnd[b] = ParseDouble(params.ppEnd[b]);
  }
  // std::max keeps the first argument when a value is not a number, as the plain comparison does.
  s.ppLimit = 0.0;
  for (double end : s.ppEnd) s.ppLimit = std::max(s.ppLimit, end);
  s.timeStart = ParseDouble(params.timeStart);
  s.timeEnd = ParseDouble(params.timeEnd);
  s.duration = ParseDouble(params.duration);
  s.useAic = useAic;
  s.freqStart = ParseDouble(params.freqStart);
  s.freqEnd = ParseDouble(params.freqEnd);
  s.freqResolution = ParseDouble(params.freqResolution);
  for (int b = 0; b < kWaveletBands; ++b) {
    s.wtBegin[b] = ParseDouble(params.wtBegin[b]);
    s.wtEnd[b] = ParseDouble(params.wtEnd[b]);
  }
  s.waveletLength = ParseInt(params.waveletLength);
  s.waveletMethod = params.waveletMethod == 1 ? WaveletMethod::kFft : WaveletMethod::kDirect;
  s.impedance = ParseInt(params.impedance);
  return s;
}

FeatureSettings DefaultFeatureSettings() { return ParseFeatureParams(FeatureParams{}, false); }

BandCheck CheckBands(const FeatureSettings& settings) {
  BandCheck check;
  for (int b = 0; b < kPartialPowerBands; ++b) {
    if (settings.ppBegin[b] > settings.ppEnd[b]) ++check.warnings;
  }
  for (int b = 0; b < kWaveletBands - 1; ++b) {
    if (settings.wtBegin[b] > settings.wtEnd[b]) ++check.warnings;
  }
  check.fatal = settings.wtBegin[kWaveletBands - 1] > settings.wtEnd[kWaveletBands - 1];
  return check;
}

}  // namespace plexo
