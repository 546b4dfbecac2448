#include "app/options_controls.h"

namespace plexo {

namespace {

DialogTemplate BuildOptionsDialog() {
  using K = ControlKind;
  DialogTemplate dialog{"Options", 436, 236, {}};
  // Everything but the setup buttons, "Calculate!" and the progress bar with its caption starts
  // disabled; the mode enables what it needs.
  auto add = [&dialog](ControlId id, K kind, std::string caption, ControlId group, DluRect rect,
                       std::vector<std::string> items = {}) {
    dialog.controls.push_back(
        ControlSpec{id, kind, std::move(caption), group, false, rect, std::move(items)});
  };

  // Fast Fourier Transformation
  add(kIdcFftGroup, K::kGroupBox, "Fast Fourier Transformation", 0, {7, 7, 200, 92});
  add(kIdcOutputFormatLabel, K::kLabel, "Output File-Format:", kIdcFftGroup, {15, 22, 74, 8});
  add(kIdcOutputFormatCombo, K::kComboBox, "", kIdcFftGroup, {90, 20, 109, 60},
      {"Single (*.txt)", "Columns (*.txt)"});
  add(kIdcWindowLabel, K::kLabel, "Window Function:", kIdcFftGroup, {15, 39, 74, 8});
  add(kIdcWindowCombo, K::kComboBox, "", kIdcFftGroup, {90, 37, 109, 60}, {"None", "200\xC2\xB5s"});
  add(kIdcFftPathLabel, K::kLabel, "Path to file(s):", kIdcFftGroup, {15, 56, 120, 8});
  add(kIdcFftPath, K::kEdit, "", kIdcFftGroup, {15, 67, 138, 13});
  add(kIdcLoadFftPath, K::kButton, "Load", kIdcFftGroup, {157, 66, 42, 15});
  // The most samples of a waveform, for the FFT group's calculations and convolution.
  add(kIdcMaxSamplesLabel, K::kLabel, "Max. Samples:", kIdcFftGroup, {15, 86, 74, 8});
  add(kIdcMaxSamples, K::kEdit, "", kIdcFftGroup, {90, 84, 50, 13});

  // Convolution-Signal
  add(kIdcConvolutionGroup, K::kGroupBox, "Convolution-Signal", 0, {7, 105, 200, 50});
  add(kIdcHwPathLabel, K::kLabel, "Path to file:", kIdcConvolutionGroup, {15, 119, 120, 8});
  add(kIdcHwPath, K::kEdit, "", kIdcConvolutionGroup, {15, 130, 138, 13});
  add(kIdcLoadHwPath, K::kButton, "Load", kIdcConvolutionGroup, {157, 129, 42, 15});

  // Time-Frequency Transformation
  const ControlId tft = kIdcTftGroup;
  add(tft, K::kGroupBox, "Time-Frequency Transformation", 0, {214, 7, 215, 221});
  add(kIdcRadioCwt, K::kRadioButton, "Continuous Wavelet Transformation", tft, {222, 20, 200, 10});
  add(kIdcRadioSpwvd, K::kRadioButton, "Smoothed Pseudo Wigner-Ville", tft, {222, 32, 200, 10});
  add(kIdcWaveletLengthLabel, K::kLabel, "Wavelet-Length:", tft, {222, 50, 64, 8});
  add(kIdcWaveletLength, K::kEdit, "", tft, {288, 48, 32, 13});
  add(kIdcWaveletTypeLabel, K::kLabel, "Wavelet-Type:", tft, {326, 50, 50, 8});
  add(kIdcWaveletTypeCombo, K::kComboBox, "", tft, {376, 48, 46, 60}, {"None", "Gabor"});
  add(kIdcSubsamplingLabel, K::kLabel, "Supsampling Size:", tft, {222, 66, 64, 8});
  add(kIdcSubsampling, K::kEdit, "", tft, {288, 64, 32, 13});
  add(kIdcWindowParameterLabel, K::kLabel, "Window Parameter:", tft, {326, 66, 66, 8});
  add(kIdcWindowParameter, K::kEdit, "", tft, {394, 64, 28, 13});

  add(kIdcTimeDomainLabel, K::kLabel, "Time Domain [s]:", tft, {222, 84, 100, 8});
  add(kIdcTimeStartLabel, K::kLabel, "Start:", tft, {222, 98, 40, 8});
  add(kIdcTimeStart, K::kEdit, "", tft, {262, 96, 56, 13});
  add(kIdcTimeEndLabel, K::kLabel, "End:", tft, {222, 114, 40, 8});
  add(kIdcTimeEnd, K::kEdit, "", tft, {262, 112, 56, 13});
  add(kIdcTimeResLabel, K::kLabel, "Resolution:", tft, {222, 130, 40, 8});
  add(kIdcTimeRes, K::kEdit, "", tft, {262, 128, 56, 13});
  add(kIdcAutoResTime, K::kCheckBox, "Auto Resolution Time", tft, {222, 146, 100, 10});

  add(kIdcFreqDomainLabel, K::kLabel, "Frequency Domain [Hz]:", tft, {326, 84, 100, 8});
  add(kIdcFreqStartLabel, K::kLabel, "Start:", tft, {326, 98, 38, 8});
  add(kIdcFreqStart, K::kEdit, "", tft, {366, 96, 56, 13});
  add(kIdcFreqEndLabel, K::kLabel, "End:", tft, {326, 114, 38, 8});
  add(kIdcFreqEnd, K::kEdit, "", tft, {366, 112, 56, 13});
  add(kIdcFreqResLabel, K::kLabel, "Resolution:", tft, {326, 130, 38, 8});
  add(kIdcFreqRes, K::kEdit, "", tft, {366, 128, 56, 13});
  add(kIdcAutoResFreq, K::kCheckBox, "Auto Resolution Frequency", tft, {326, 146, 100, 10});

  add(kIdcAutoThreshold, K::kCheckBox, "Auto Threshold Detection", tft, {222, 164, 100, 10});
  add(kIdcThresholdLabel, K::kLabel, "Threshold:", tft, {326, 166, 38, 8});
  add(kIdcThreshold, K::kEdit, "", tft, {366, 164, 56, 13});
  add(kIdcSaveComplex, K::kCheckBox, "Save Complex Coefficients", tft, {222, 180, 100, 10});
  add(kIdcWaveletMethodLabel, K::kLabel, "WT-Method:", tft, {326, 182, 48, 8});
  add(kIdcWaveletMethodCombo, K::kComboBox, "", tft, {376, 180, 46, 60}, {"Direct", "FFT"});
  add(kIdcWtPathLabel, K::kLabel, "Path to file(s):", tft, {222, 196, 100, 8});
  add(kIdcWtPath, K::kEdit, "", tft, {222, 207, 154, 13});
  add(kIdcLoadWtPath, K::kButton, "Load", tft, {380, 206, 42, 15});

  // Always enabled: the setup buttons, "Calculate!" and the progress bar with its caption.
  auto add_enabled = [&](ControlId id, K kind, std::string caption, DluRect rect) {
    add(id, kind, std::move(caption), 0, rect);
    dialog.controls.back().initiallyEnabled = true;
  };
  add_enabled(kIdcLoadSetup, K::kButton, "Load Setup", {7, 163, 96, 15});
  add_enabled(kIdcSaveSetup, K::kButton, "Save Setup", {111, 163, 96, 15});
  add_enabled(kIdcCalculate, K::kDefaultButton, "Calculate!", {7, 184, 200, 17});
  add_enabled(kStaticId, K::kLabel, "Calculation Progress:", {7, 207, 120, 8});
  add_enabled(kIdcProgress, K::kProgressBar, "", {7, 218, 200, 10});
  return dialog;
}

}  // namespace

const DialogTemplate& OptionsDialogTemplate() {
  static const DialogTemplate dialog = BuildOptionsDialog();
  return dialog;
}

}  // namespace plexo
