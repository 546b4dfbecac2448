#include "features/feature_controls.h"

#include <string>

namespace plexo {
namespace {

DialogTemplate BuildFeatureDialog() {
  using K = ControlKind;
  DialogTemplate dialog{"Feature Extraction", 576, 260, {}};
  auto add = [&dialog](ControlId id, K kind, std::string caption, ControlId group, DluRect rect,
                       bool enabled = true, std::vector<std::string> items = {}) {
    dialog.controls.push_back(
        ControlSpec{id, kind, std::move(caption), group, enabled, rect, std::move(items)});
  };

  // Time-based Features
  add(kIdfTimeGroup, K::kGroupBox, "Time-based Features", 0, {7, 7, 108, 225});
  add(kIdfArrivalTime, K::kCheckBox, "Arrival Time", kIdfTimeGroup, {15, 22, 95, 10});
  add(kIdfPeakAmplitude, K::kCheckBox, "Peak Amplitude", kIdfTimeGroup, {15, 36, 95, 10});
  add(kIdfSignalEnergy, K::kCheckBox, "Signal Energy", kIdfTimeGroup, {15, 50, 95, 10});
  add(kIdfImpedanceLabel, K::kLabel, "Impedance:", kIdfTimeGroup, {15, 68, 38, 8});
  add(kIdfImpedance, K::kEdit, "", kIdfTimeGroup, {55, 66, 28, 12});
  add(kIdfOhmsLabel, K::kLabel, "Ohms", kIdfTimeGroup, {86, 68, 24, 8});
  add(kIdfReviewOnsets, K::kButton, "Review onsets...", kIdfTimeGroup, {15, 88, 92, 14});
  add(kIdfUseOnsets, K::kCheckBox, "Use corrected onsets", kIdfTimeGroup, {15, 108, 95, 10});
  add(kIdfUseOnsetsNote, K::kLabel, "(FXData/Onsets.txt)", kIdfTimeGroup, {26, 120, 84, 8});

  // FFT-based Features
  const ControlId fft = kIdfFftGroup;
  add(fft, K::kGroupBox, "FFT-based Features", 0, {120, 7, 170, 225});
  const char* peaks[] = {"Peak Frequency 1",          "Peak Frequency 2",
                         "Peak Frequency 3",          "Weighted Peak Frequency 1",
                         "Weighted Peak Frequency 2", "Weighted Peak Frequency 3",
                         "Frequency Centroid"};
  for (int i = 0; i < 7; ++i) {
    add(FeatureCheckBox(kColPeakFrequency1 + i), K::kCheckBox, peaks[i], fft,
        {128, 20 + 11 * i, 150, 10});
  }
  add(kStaticId, K::kLabel, "Begin [Hz]:  End [Hz]:", fft, {205, 99, 82, 8});
  for (int b = 0; b < kPartialPowerBands; ++b) {
    const int y = 110 + 14 * b;
    const bool enabled = b < 6;
    add(kIdfPartialPower[b], K::kCheckBox, "Partial Power " + std::to_string(b + 1), fft,
        {128, y, 74, 10});
    add(kIdfPpBegin[b], K::kEdit, "", fft, {205, y - 1, 40, 12}, enabled);
    add(kIdfPpEnd[b], K::kEdit, "", fft, {247, y - 1, 40, 12}, enabled);
  }

  // WT-based Features
  const ControlId wt = kIdfWtGroup;
  add(wt, K::kGroupBox, "WT-based Features", 0, {295, 7, 166, 225});
  add(kIdfWaveletLengthLabel, K::kLabel, "Wavelet-Length:", wt, {303, 22, 60, 8}, false);
  add(kIdfWaveletLength, K::kEdit, "", wt, {366, 20, 40, 12}, false);
  add(kIdfWaveletTypeLabel, K::kLabel, "Wavelet-Type:", wt, {303, 38, 60, 8}, false);
  add(kIdfWaveletTypeCombo, K::kComboBox, "", wt, {366, 36, 60, 60}, false, {"None", "Gabor"});
  add(kIdfWaveletMethodLabel, K::kLabel, "WT-Method:", wt, {303, 178, 60, 8}, false);
  add(kIdfWaveletMethodCombo, K::kComboBox, "", wt, {366, 176, 60, 60}, false, {"Direct", "FFT"});
  add(kIdfModulusMaximumTime, K::kCheckBox, "Modulus Maximus (Time)", wt, {303, 56, 140, 10});
  add(kIdfModulusMaximumFrequency, K::kCheckBox, "Modulus Maximus (Frequency)", wt,
      {303, 68, 140, 10});
  add(kIdfModulusMaximum, K::kCheckBox, "Modulus Maximus (Coefficient)", wt, {303, 80, 140, 10});
  add(kIdfWtBandLabel, K::kLabel, "Begin [Hz]:  End [Hz]:", wt, {389, 99, 70, 8}, false);
  for (int b = 0; b < kWaveletBands; ++b) {
    const int y = 110 + 14 * b;
    add(kIdfWtPeak[b], K::kCheckBox, "WT Peak Coefficient " + std::to_string(b + 1), wt,
        {303, y, 84, 10});
    add(kIdfWtBegin[b], K::kEdit, "", wt, {389, y - 1, 34, 12}, false);
    add(kIdfWtEnd[b], K::kEdit, "", wt, {424, y - 1, 34, 12}, false);
  }

  // Range Settings
  const ControlId range = kIdfRangeGroup;
  add(range, K::kGroupBox, "Range Settings", 0, {466, 7, 103, 225});
  add(kIdfTimeDomainLabel, K::kLabel, "Time Domain [s]:", range, {472, 20, 90, 8});
  add(kIdfTimeStartLabel, K::kLabel, "Start:", range, {472, 34, 34, 8});
  add(kIdfTimeStart, K::kEdit, "", range, {508, 32, 54, 12});
  add(kIdfTimeEndLabel, K::kLabel, "End:", range, {472, 48, 34, 8});
  add(kIdfTimeEnd, K::kEdit, "", range, {508, 46, 54, 12});
  add(kIdfUseAic, K::kCheckBox, "Use AIC", range, {472, 62, 90, 10});
  add(kIdfDurationLabel, K::kLabel, "Duration:", range, {472, 76, 34, 8}, false);
  add(kIdfDuration, K::kEdit, "", range, {508, 74, 54, 12}, false);
  add(kIdfFreqDomainLabel, K::kLabel, "Frequency Domain [Hz]:", range, {472, 94, 95, 8}, false);
  add(kIdfFreqStartLabel, K::kLabel, "Start:", range, {472, 108, 34, 8}, false);
  add(kIdfFreqStart, K::kEdit, "", range, {508, 106, 54, 12}, false);
  add(kIdfFreqEndLabel, K::kLabel, "End:", range, {472, 122, 34, 8}, false);
  add(kIdfFreqEnd, K::kEdit, "", range, {508, 120, 54, 12}, false);
  add(kIdfFreqResolutionLabel, K::kLabel, "Resolution:", range, {472, 136, 36, 8}, false);
  add(kIdfFreqResolution, K::kEdit, "", range, {508, 134, 54, 12}, false);
  add(kIdfMaxSamplesLabel, K::kLabel, "Max. Samples:", range, {472, 152, 46, 8});
  add(kIdfMaxSamples, K::kEdit, "", range, {518, 150, 44, 12});
  add(kIdfExtract, K::kDefaultButton, "Extract!", range, {472, 172, 90, 18});
  add(kIdfCancel, K::kButton, "Cancel", range, {472, 196, 90, 16});

  add(kIdfProgress, K::kProgressBar, "", 0, {7, 238, 562, 12});
  return dialog;
}

}  // namespace

const DialogTemplate& FeatureDialogTemplate() {
  static const DialogTemplate dialog = BuildFeatureDialog();
  return dialog;
}

}  // namespace plexo
