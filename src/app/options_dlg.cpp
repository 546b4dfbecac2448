#include "app/options_dlg.h"

#include <optional>

#include "signal/number_text.h"
#include "signal/setup_file.h"
#include "signal/waveform.h"
#include "timefreq/average_tft.h"

namespace plexo {

namespace {

// Edit fields and the record field each one shows, with its text form.
enum class TextForm { kPath, kExponent, kInteger, kThreshold };

struct EditBinding {
  ControlId id;
  TextForm form;
  double CalcSettings::*field;  // null for the paths
};

constexpr EditBinding kEditBindings[] = {
    {kIdcFftPath, TextForm::kPath, nullptr},
    {kIdcWtPath, TextForm::kPath, nullptr},
    {kIdcHwPath, TextForm::kPath, nullptr},
    {kIdcWaveletLength, TextForm::kInteger, &CalcSettings::wtSize},
    {kIdcSubsampling, TextForm::kInteger, &CalcSettings::cwdSize},
    {kIdcWindowParameter, TextForm::kInteger, &CalcSettings::cwdSigma},
    {kIdcTimeStart, TextForm::kExponent, &CalcSettings::timeStart},
    {kIdcTimeEnd, TextForm::kExponent, &CalcSettings::timeEnd},
    {kIdcTimeRes, TextForm::kExponent, &CalcSettings::timeRes},
    {kIdcFreqStart, TextForm::kExponent, &CalcSettings::freqStart},
    {kIdcFreqEnd, TextForm::kExponent, &CalcSettings::freqEnd},
    {kIdcFreqRes, TextForm::kExponent, &CalcSettings::freqRes},
    {kIdcThreshold, TextForm::kThreshold, &CalcSettings::threshold},
    {kIdcMaxSamples, TextForm::kInteger, &CalcSettings::maxSamples},
};

struct CheckBinding {
  ControlId id;
  double CalcSettings::*field;
};

constexpr CheckBinding kCheckBindings[] = {
    {kIdcAutoResTime, &CalcSettings::autoResTime},
    {kIdcAutoThreshold, &CalcSettings::autoRoi},
    {kIdcAutoResFreq, &CalcSettings::autoResFreq},
    {kIdcSaveComplex, &CalcSettings::wtComplex},
};

struct ComboBinding {
  ControlId id;
  double CalcSettings::*field;
};

constexpr ComboBinding kComboBindings[] = {
    {kIdcOutputFormatCombo, &CalcSettings::fftOutputType},
    {kIdcWindowCombo, &CalcSettings::fftWindow},
    {kIdcWaveletTypeCombo, &CalcSettings::wtType},
    {kIdcWaveletMethodCombo, &CalcSettings::wtMethod},
};

std::string FormatField(TextForm form, double value) {
  switch (form) {
    case TextForm::kExponent:
      return FormatE(value, 2);
    case TextForm::kInteger:
      return FormatF(value, 0);
    case TextForm::kThreshold:
      return FormatF(value, 4);
    case TextForm::kPath:
      break;
  }
  return {};
}

bool IsFolderMode(CalcMode mode) {
  return mode == CalcMode::kAverageFft || mode == CalcMode::kConvolution ||
         mode == CalcMode::kDeconvolution;
}

bool IsTransferMode(CalcMode mode) {
  return mode == CalcMode::kConvolution || mode == CalcMode::kDeconvolution;
}

// The calculations whose waveforms may be longer than the time-frequency maps' 16384 samples.
bool UsesSampleLimit(CalcMode mode) { return mode == CalcMode::kSingleFft || IsFolderMode(mode); }

}  // namespace

COptionsDlg::COptionsDlg(CalcMode mode, Controls& controls, Host& host, Calculations& calculations,
                         CalcRunner& runner, std::string setupPath)
    : mode_(mode),
      controls_(controls),
      host_(host),
      calculations_(calculations),
      runner_(runner),
      setupPath_(std::move(setupPath)) {}

void COptionsDlg::OnInitDialog() {
  // A missing or unreadable setup file leaves the record as it was, without a message.
  LoadSetup(settings_, fftPath_, wtPath_, hwPath_, setupPath_);
  SettingsToDialog();
  DialogToSettings();
}

void COptionsDlg::SettingsToDialog() {
  for (const EditBinding& edit : kEditBindings) {
    if (edit.form != TextForm::kPath)
      texts_[edit.id] = FormatField(edit.form, settings_.*edit.field);
  }
  texts_[kIdcFftPath] = fftPath_;
  texts_[kIdcWtPath] = wtPath_;
  texts_[kIdcHwPath] = hwPath_;
  precisionText_ = FormatF(settings_.fftPrecision, 0);
  for (const CheckBinding& check : kCheckBindings) {
    controls_.SetChecked(check.id, TruncateToInt(settings_.*check.field) != 0);
  }
  for (const ComboBinding& combo : kComboBindings) {
    comboIndices_[combo.id] = TruncateToInt(settings_.*combo.field);
  }
  // The method buttons follow the record too, so that a loaded setup runs the method whose
  // fields it enables.
  controls_.SetChecked(kIdcRadioCwt, settings_.wtSelect == 0);
  controls_.SetChecked(kIdcRadioSpwvd, settings_.wtSelect != 0);
  EnableModeControls();
  UpdateData(false);
}

void COptionsDlg::DialogToSettings() {
  controls_.SetChecked(kIdcRadioCwt, settings_.wtSelect == 0);
  controls_.SetChecked(kIdcRadioSpwvd, settings_.wtSelect != 0);
  UpdateData(true);
  for (const EditBinding& edit : kEditBindings) {
    if (edit.form != TextForm::kPath) settings_.*edit.field = ParseDouble(texts_[edit.id]);
  }
  settings_.fftPrecision = ParseDouble(precisionText_);
  for (const CheckBinding& check : kCheckBindings) {
    settings_.*check.field = controls_.IsChecked(check.id) ? 1.0 : 0.0;
  }
  settings_.wtSelect = controls_.IsChecked(kIdcRadioSpwvd) ? 1.0 : 0.0;
  // Of the combo boxes only the wavelet method is the user's to store; the others show what the
  // setup file holds.
  settings_.wtMethod = comboIndices_[kIdcWaveletMethodCombo] == 1 ? 1.0 : 0.0;
  fftPath_ = texts_[kIdcFftPath];
  wtPath_ = texts_[kIdcWtPath];
  hwPath_ = texts_[kIdcHwPath];
}

void COptionsDlg::UpdateData(bool fromControls) {
  for (const EditBinding& edit : kEditBindings) {
    if (fromControls) {
      texts_[edit.id] = controls_.Text(edit.id);
    } else {
      controls_.SetText(edit.id, texts_[edit.id]);
    }
  }
  for (const ComboBinding& combo : kComboBindings) {
    if (fromControls) {
      comboIndices_[combo.id] = controls_.ComboIndex(combo.id);
    } else {
      controls_.SetComboIndex(combo.id, comboIndices_[combo.id]);
    }
  }
}

void COptionsDlg::EnableModeControls() {
  auto enable = [this](std::initializer_list<ControlId> ids, bool enabled = true) {
    for (ControlId id : ids) controls_.Enable(id, enabled);
  };
  switch (mode_) {
    case CalcMode::kSingleFft:
    case CalcMode::kAverageFft:
      enable({kIdcFftGroup, kIdcFftPathLabel, kIdcFftPath, kIdcLoadFftPath, kIdcMaxSamplesLabel,
              kIdcMaxSamples});
      break;
    case CalcMode::kConvolution:
    case CalcMode::kDeconvolution:
      enable({kIdcFftGroup, kIdcFftPathLabel, kIdcFftPath, kIdcLoadFftPath, kIdcOutputFormatLabel,
              kIdcOutputFormatCombo, kIdcConvolutionGroup, kIdcHwPathLabel, kIdcHwPath,
              kIdcLoadHwPath, kIdcMaxSamplesLabel, kIdcMaxSamples});
      break;
    case CalcMode::kSingleTft:
    case CalcMode::kAverageTft:
      enable({kIdcWtPath, kIdcTimeStart, kIdcTimeEnd, kIdcRadioCwt, kIdcRadioSpwvd});
      if (settings_.wtSelect != 0) {
        enable(
            {kIdcWindowParameterLabel, kIdcSubsamplingLabel, kIdcSubsampling, kIdcWindowParameter});
      } else {
        enable({kIdcWaveletLengthLabel, kIdcWaveletTypeLabel, kIdcWaveletLength,
                kIdcWaveletMethodLabel, kIdcWaveletMethodCombo});
      }
      controls_.Enable(kIdcTimeRes, !controls_.IsChecked(kIdcAutoResTime));
      enable({kIdcFreqStart, kIdcFreqEnd});
      controls_.Enable(kIdcFreqRes, !controls_.IsChecked(kIdcAutoResFreq));
      enable({kIdcSaveComplex, kIdcAutoResTime, kIdcTftGroup});
      for (ControlId id = kIdcTimeDomainLabel; id <= kIdcWtPathLabel; ++id)
        controls_.Enable(id, true);
      enable({kIdcLoadWtPath});
      if (mode_ == CalcMode::kAverageTft) {
        controls_.Enable(kIdcThreshold, controls_.IsChecked(kIdcAutoThreshold));
        enable({kIdcAutoThreshold});
      }
      break;
    default:
      break;
  }
}

void COptionsDlg::SaveToSetupFile() {
  DialogToSettings();
  // Settings that could not be kept would be lost without a word.
  if (std::string error; !SaveSetup(settings_, fftPath_, wtPath_, hwPath_, setupPath_, &error))
    host_.MessageBox(error);
}

void COptionsDlg::OnClicked(ControlId id) {
  switch (id) {
    case kIdcLoadSetup:
      OnLoadSetup();
      break;
    case kIdcSaveSetup:
      OnSaveSetup();
      break;
    case kIdcLoadFftPath:
      OnLoadFftPath();
      break;
    case kIdcLoadWtPath:
      OnLoadWtPath();
      break;
    case kIdcLoadHwPath:
      OnLoadHwPath();
      break;
    case kIdcRadioCwt:
      OnSelectMethod(TftMethod::kCwt);
      break;
    case kIdcRadioSpwvd:
      OnSelectMethod(TftMethod::kSpwvd);
      break;
    case kIdcAutoResTime:
      controls_.Enable(kIdcTimeRes, !controls_.IsChecked(kIdcAutoResTime));
      break;
    case kIdcAutoResFreq:
      controls_.Enable(kIdcFreqRes, !controls_.IsChecked(kIdcAutoResFreq));
      break;
    case kIdcAutoThreshold:
      controls_.Enable(kIdcThreshold, controls_.IsChecked(kIdcAutoThreshold));
      break;
    case kIdcCalculate:
      OnCalculate();
      break;
    default:
      break;
  }
}

void COptionsDlg::OnComboChanged(ControlId id) {
  UpdateData(true);
  for (const ComboBinding& combo : kComboBindings) {
    if (combo.id == id && comboIndices_[id] >= 0) settings_.*combo.field = comboIndices_[id];
  }
}

void COptionsDlg::OnLoadSetup() {
  const std::optional<std::string> file = host_.OpenFile(kSetupFilter);
  if (!file) return;
  // Read into copies: a file that cannot be read changes nothing.
  CalcSettings settings = settings_;
  std::string fftPath = fftPath_, wtPath = wtPath_, hwPath = hwPath_;
  if (!LoadSetup(settings, fftPath, wtPath, hwPath, *file)) return;
  settings_ = settings;
  fftPath_ = fftPath;
  wtPath_ = wtPath;
  hwPath_ = hwPath;
  SettingsToDialog();
}

void COptionsDlg::OnSaveSetup() {
  const std::optional<std::string> file = host_.OpenFile(kSetupFilter);
  if (!file) return;
  DialogToSettings();
  if (std::string error; !SaveSetup(settings_, fftPath_, wtPath_, hwPath_, *file, &error))
    host_.MessageBox(error);
}

void COptionsDlg::OnLoadFftPath() {
  std::optional<std::string> path;
  if (mode_ == CalcMode::kSingleFft) {
    path = host_.OpenFile(kWaveformFilter);
  } else if (IsFolderMode(mode_)) {
    path = host_.BrowseForFolder();
  }
  // The path goes straight into the field, so that nothing typed elsewhere is reverted.
  if (path) controls_.SetText(kIdcFftPath, *path);
}

void COptionsDlg::OnLoadWtPath() {
  std::optional<std::string> path;
  if (mode_ == CalcMode::kSingleTft) {
    path = host_.OpenFile(kWaveformFilter);
  } else if (mode_ == CalcMode::kAverageTft) {
    path = host_.BrowseForFolder();
  }
  if (path) controls_.SetText(kIdcWtPath, *path);
}

void COptionsDlg::OnLoadHwPath() {
  if (!IsTransferMode(mode_)) {
    host_.MessageBox(kNoTransferFunctionMessage);
    return;
  }
  if (std::optional<std::string> path = host_.OpenFile(kTransferFunctionFilter)) {
    controls_.SetText(kIdcHwPath, *path);
  }
}

void COptionsDlg::OnSelectMethod(TftMethod method) {
  UpdateData(true);
  const bool spwvd = method == TftMethod::kSpwvd;
  settings_.wtSelect = spwvd ? 1.0 : 0.0;
  controls_.SetChecked(kIdcRadioCwt, !spwvd);
  controls_.SetChecked(kIdcRadioSpwvd, spwvd);
  for (ControlId id : {kIdcWaveletLength, kIdcWaveletLengthLabel, kIdcWaveletTypeLabel,
                       kIdcWaveletMethodLabel, kIdcWaveletMethodCombo}) {
    controls_.Enable(id, !spwvd);
  }
  for (ControlId id :
       {kIdcSubsampling, kIdcWindowParameter, kIdcWindowParameterLabel, kIdcSubsamplingLabel}) {
    controls_.Enable(id, spwvd);
  }
}

double COptionsDlg::Number(ControlId id) const {
  auto found = texts_.find(id);
  return found == texts_.end() ? 0.0 : ParseDouble(found->second);
}

bool COptionsDlg::ValidGrid() const { return TftGridIsConsistent(CollectTftRequest("")); }

TftRequest COptionsDlg::CollectTftRequest(const std::string& path) const {
  auto integer = [this](ControlId id) {
    auto found = texts_.find(id);
    return found == texts_.end() ? 0 : ParseInt(found->second);
  };
  TftRequest request;
  request.path = path;
  request.freqRes = Number(kIdcFreqRes);
  request.freqStart = Number(kIdcFreqStart);
  request.freqEnd = Number(kIdcFreqEnd);
  request.timeRes = Number(kIdcTimeRes);
  request.timeStart = Number(kIdcTimeStart);
  request.timeEnd = Number(kIdcTimeEnd);
  request.output = controls_.IsChecked(kIdcSaveComplex) ? TftOutput::kComplex : TftOutput::kModulus;
  request.waveletLength = integer(kIdcWaveletLength);
  request.autoTimeRes = controls_.IsChecked(kIdcAutoResTime);
  request.autoFreqRes = controls_.IsChecked(kIdcAutoResFreq);
  request.subsampling = integer(kIdcSubsampling);
  request.windowParameter = integer(kIdcWindowParameter);
  auto method = comboIndices_.find(kIdcWaveletMethodCombo);
  request.waveletMethod = method != comboIndices_.end() && method->second == 1
                              ? WaveletMethod::kFft
                              : WaveletMethod::kDirect;
  return request;
}

TftMethod COptionsDlg::SelectedMethod() const {
  return controls_.IsChecked(kIdcRadioCwt) ? TftMethod::kCwt : TftMethod::kSpwvd;
}

void COptionsDlg::OnCalculate() {
  // One calculation at a time: they share their workspaces.
  if (running_) return;
  UpdateData(true);
  stopRequested_ = 0;
  Calculations& calculations = calculations_;
  Host& host = host_;
  CalcProgress& progress = progress_;
  // The sample limit of the FFT group's calculations and convolution, checked before they start.
  const std::optional<int> maxSamples = SampleLimitFromText(texts_[kIdcMaxSamples]);
  if (!maxSamples && UsesSampleLimit(mode_)) {
    host_.MessageBox(kMaxSamplesMessage);
    return;
  }
  const int limit = maxSamples.value_or(MAX_SAMPLES);
  switch (mode_) {
    case CalcMode::kSingleFft: {
      const std::string path = texts_[kIdcFftPath];
      const int window = comboIndices_[kIdcWindowCombo];
      Start([&calculations, &host, &progress, path, window, limit] {
        return calculations.SingleFft(path, window, limit, progress, host);
      });
      break;
    }
    case CalcMode::kSingleTft: {
      if (!ValidGrid()) {
        host_.MessageBox(kInvalidParametersMessage);
        return;
      }
      const TftRequest request = CollectTftRequest(texts_[kIdcWtPath]);
      const TftMethod method = SelectedMethod();
      Start([&calculations, &host, &progress, request, method] {
        return calculations.SingleTft(request, method, progress, host);
      });
      break;
    }
    case CalcMode::kAverageFft: {
      const std::string folder = texts_[kIdcFftPath];
      const int window = comboIndices_[kIdcWindowCombo];
      Start([&calculations, &host, &progress, folder, window, limit] {
        return calculations.AverageFft(folder, window, limit, progress, host);
      });
      break;
    }
    case CalcMode::kAverageTft: {
      if (!ValidGrid()) {
        // The fixed text, then which value makes the grid inconsistent.
        host_.MessageBox(std::string(kInvalidParametersMessage) + "\n" +
                         TftGridProblem(CollectTftRequest("")));
        return;
      }
      AverageTftRequest request;
      request.grid = CollectTftRequest(texts_[kIdcWtPath]);
      request.threshold = Number(kIdcThreshold);
      request.autoThreshold = controls_.IsChecked(kIdcAutoThreshold);
      const TftMethod method = SelectedMethod();
      Start([&calculations, &host, &progress, request, method] {
        return calculations.AverageTft(request, method, progress, host);
      });
      break;
    }
    case CalcMode::kConvolution:
    case CalcMode::kDeconvolution: {
      const ConvolutionOutput output = comboIndices_[kIdcOutputFormatCombo] == 1
                                           ? ConvolutionOutput::kColumnsFile
                                           : ConvolutionOutput::kWaveformFiles;
      const std::string folder = texts_[kIdcFftPath];
      const std::string transfer = texts_[kIdcHwPath];
      const int precision = ParseInt(precisionText_);
      const TransferOperation operation = mode_ == CalcMode::kConvolution
                                              ? TransferOperation::kConvolution
                                              : TransferOperation::kDeconvolution;
      Start(
          [&calculations, &host, &progress, folder, precision, transfer, operation, output, limit] {
            return calculations.ApplyTransferFunction(folder, precision, transfer, operation,
                                                      output, limit, progress, host);
          });
      break;
    }
    default:
      break;
  }
}

void COptionsDlg::Start(CalcRunner::Job job) {
  running_ = true;
  controls_.Enable(kIdcCalculate, false);
  runner_.Start(std::move(job), [this](CalcStatus) { Finished(); });
}

void COptionsDlg::Finished() {
  running_ = false;
  controls_.Enable(kIdcCalculate, true);
  if (closeAfterRun_) {
    controls_.EndDialog(kIdCancel);
  } else if (mode_ != CalcMode::kSingleFft) {
    // Every calculation but the Single FFT closes the dialog when it returns.
    controls_.EndDialog(1);
  }
}

bool COptionsDlg::OnClose() {
  SaveToSetupFile();
  stopRequested_ = 1;
  if (running_) {
    closeAfterRun_ = true;
    return false;
  }
  return true;
}

void COptionsDlg::OnDestroy() {
  SaveToSetupFile();
  stopRequested_ = 1;
}

}  // namespace plexo
