#include "features/feature_dlg.h"

#include <memory>

#include "features/onset_run.h"
#include "platform/file_system.h"
#include "signal/number_text.h"
#include "signal/setup_file.h"

namespace plexo {

CFeatureDlg::CFeatureDlg(Controls& controls, Host& host, CalcRunner& runner,
                         FeatureWorkspace& workspace, int jobs, std::string setupPath)
    : controls_(controls),
      host_(host),
      runner_(runner),
      workspace_(workspace),
      jobs_(jobs),
      setupPath_(std::move(setupPath)) {}

void CFeatureDlg::OnInitDialog() {
  // The sample limit and the wavelet rows' method are the setup file's, shared with the Options
  // dialog; a missing setup file leaves the defaults.
  if (!setupPath_.empty()) {
    CalcSettings settings;
    std::string fft, wt, hw;
    LoadSetup(settings, fft, wt, hw, setupPath_);
    params_.maxSamples = FormatF(settings.maxSamples, 0);
    params_.waveletMethod = TruncateToInt(settings.wtMethod) == 1 ? 1 : 0;
  }
  UpdateData(false);
  for (const FeatureColumnEntry& entry : kFeatureColumnTable)
    controls_.SetChecked(entry.checkBox, entry.byDefault);
  UpdateData(true);
}

void CFeatureDlg::UpdateData(bool fromControls) {
  auto exchange = [this, fromControls](ControlId id, std::string& text) {
    if (fromControls) {
      text = controls_.Text(id);
    } else {
      controls_.SetText(id, text);
    }
  };
  for (int b = 0; b < kPartialPowerBands; ++b) {
    exchange(kIdfPpBegin[b], params_.ppBegin[b]);
    exchange(kIdfPpEnd[b], params_.ppEnd[b]);
  }
  for (int b = 0; b < kWaveletBands; ++b) {
    exchange(kIdfWtBegin[b], params_.wtBegin[b]);
    exchange(kIdfWtEnd[b], params_.wtEnd[b]);
  }
  exchange(kIdfTimeStart, params_.timeStart);
  exchange(kIdfTimeEnd, params_.timeEnd);
  exchange(kIdfDuration, params_.duration);
  exchange(kIdfFreqStart, params_.freqStart);
  exchange(kIdfFreqEnd, params_.freqEnd);
  exchange(kIdfFreqResolution, params_.freqResolution);
  exchange(kIdfWaveletLength, params_.waveletLength);
  exchange(kIdfImpedance, params_.impedance);
  exchange(kIdfMaxSamples, params_.maxSamples);
  if (fromControls) {
    params_.waveletType = controls_.ComboIndex(kIdfWaveletTypeCombo);
    params_.waveletMethod = controls_.ComboIndex(kIdfWaveletMethodCombo) == 1 ? 1 : 0;
  } else {
    controls_.SetComboIndex(kIdfWaveletTypeCombo, params_.waveletType);
    controls_.SetComboIndex(kIdfWaveletMethodCombo, params_.waveletMethod);
  }
}

void CFeatureDlg::StoreSetup() {
  if (setupPath_.empty()) return;
  CalcSettings settings;
  std::string fft, wt, hw;
  const bool existed = LoadSetup(settings, fft, wt, hw, setupPath_);
  const std::optional<int> limit = SampleLimitFromText(params_.maxSamples);
  CalcSettings changed = settings;
  if (limit) changed.maxSamples = *limit;  // a text that is no limit keeps the stored one
  changed.wtMethod = params_.waveletMethod;
  // Nothing is written when nothing changed: no setup file appears for the defaults.
  if (changed == settings && (existed || changed == DefaultCalcSettings())) return;
  if (std::string error; !SaveSetup(changed, fft, wt, hw, setupPath_, &error))
    host_.MessageBox(error);
}

FeatureColumns CFeatureDlg::CheckedColumns() const {
  FeatureColumns columns;
  for (const FeatureColumnEntry& entry : kFeatureColumnTable)
    columns[entry.column] = controls_.IsChecked(entry.checkBox);
  return columns;
}

void CFeatureDlg::OnClicked(ControlId id) {
  for (int b = 0; b < kPartialPowerBands; ++b) {
    if (id == kIdfPartialPower[b]) return OnPartialPower(b);
  }
  for (int b = 0; b < kWaveletBands; ++b) {
    if (id == kIdfWtPeak[b]) return OnWaveletPeak(b);
  }
  if (const int column = FeatureColumnOfCheckBox(id);
      column >= 0 && kFeatureColumnTable[column].family == FeatureFamily::kWavelet)
    return OnWaveletColumn(id);
  switch (id) {
    case kIdfUseAic:
      OnUseAic();
      break;
    case kIdfArrivalTime:
      OnArrivalTime();
      break;
    case kIdfUseOnsets:
      OnUseOnsets();
      break;
    case kIdfReviewOnsets:
      OnReviewOnsets();
      break;
    case kIdfExtract:
      OnExtract();
      break;
    case kIdfCancel:
      OnCancel();
      break;
    default:
      break;  // the other check boxes are only read when a run starts
  }
}

void CFeatureDlg::OnPartialPower(int band) {
  const bool checked = controls_.IsChecked(kIdfPartialPower[band]);
  if (!checked) {
    // assign(1, '0') rather than = "0": GCC 12 warns falsely (-Wrestrict) on the literal.
    params_.ppBegin[band].assign(1, '0');
    params_.ppEnd[band].assign(1, '0');
  }
  // Checking again leaves the texts as they are ("0" after an uncheck).
  controls_.Enable(kIdfPpBegin[band], checked);
  controls_.Enable(kIdfPpEnd[band], checked);
  UpdateData(false);
}

void CFeatureDlg::EnableWtSettings(bool enabled) {
  for (ControlId id : kWtSettingsGroup) controls_.Enable(id, enabled);
}

bool CFeatureDlg::AnyWaveletChecked() const { return NeedsWaveletFeatures(CheckedColumns()); }

void CFeatureDlg::OnWaveletColumn(ControlId id) {
  if (controls_.IsChecked(id)) {
    EnableWtSettings(true);
  } else if (!AnyWaveletChecked()) {
    EnableWtSettings(false);
  }
}

void CFeatureDlg::OnWaveletPeak(int band) {
  const bool checked = controls_.IsChecked(kIdfWtPeak[band]);
  if (checked) {
    EnableWtSettings(true);
    controls_.Enable(kIdfWtBandLabel, true);
  } else if (!AnyWaveletChecked()) {
    EnableWtSettings(false);
    controls_.Enable(kIdfWtBandLabel, false);
  }
  // An unchecked band keeps its texts: they still share in the band normalisation.
  controls_.Enable(kIdfWtBegin[band], checked);
  controls_.Enable(kIdfWtEnd[band], checked);
}

void CFeatureDlg::OnUseAic() {
  const bool aic = controls_.IsChecked(kIdfUseAic);
  // The reviewed picks start the window of the picker: without it they have no use.
  if (!aic) controls_.SetChecked(kIdfUseOnsets, false);
  controls_.Enable(kIdfDurationLabel, aic);
  controls_.Enable(kIdfDuration, aic);
  controls_.Enable(kIdfTimeStart, !aic);
  controls_.Enable(kIdfTimeEnd, !aic);
  UpdateData(false);
}

void CFeatureDlg::OnArrivalTime() {
  controls_.SetChecked(kIdfUseAic, controls_.IsChecked(kIdfArrivalTime));
  OnUseAic();
  UpdateData(false);
}

void CFeatureDlg::OnUseOnsets() {
  // The window starts at the reviewed pick and lasts "Duration:", as with "Use AIC".
  if (!controls_.IsChecked(kIdfUseOnsets)) return;
  controls_.SetChecked(kIdfUseAic, true);
  OnUseAic();
}

void CFeatureDlg::OnReviewOnsets() {
  if (running_ || !onReviewOnsets) return;
  UpdateData(true);
  const std::optional<int> limit = SampleLimitFromText(params_.maxSamples);
  if (!limit) {
    host_.MessageBox(kMaxSamplesMessage);
    return;
  }
  onReviewOnsets(ParseFeatureParams(params_, true), *limit);
}

std::string CFeatureDlg::LoadOnsets(FeatureRequest& request) const {
  if (!controls_.IsChecked(kIdfUseOnsets)) return {};
  const std::string path = OnsetFilePath(request.folder);
  if (!IsRegularFile(path))
    return "No reviewed onsets: " + path +
           " does not exist.\nReview the onsets of the folder first (\"Review onsets...\"), or "
           "uncheck \"Use corrected onsets\".";
  auto table = std::make_shared<OnsetTable>();
  std::string why;
  if (!ReadOnsetTable(path, *table, why)) return why + "\nNo table written.";
  request.onsets = std::move(table);
  request.onsetsPath = path;
  request.settings.useAic = true;  // the listed waveforms' windows start at their picks
  return {};
}

bool CFeatureDlg::OnCancel() {
  stopRequested_ = 1;
  UpdateData(true);
  StoreSetup();
  if (running_) {
    // The run goes on to write its table; the dialog closes when it returns.
    closeAfterRun_ = true;
    return false;
  }
  controls_.EndDialog(kIdOk);
  return true;
}

void CFeatureDlg::OnExtract() {
  // One run at a time: a press during a run would start a second one on the same buffers.
  if (running_) return;
  UpdateData(true);
  stopRequested_ = 0;
  closeAfterRun_ = false;

  FeatureRequest request;
  request.settings = ParseFeatureParams(params_, controls_.IsChecked(kIdfUseAic));
  request.jobs = jobs_;
  const std::optional<int> limit = SampleLimitFromText(params_.maxSamples);
  if (!limit) {
    host_.MessageBox(kMaxSamplesMessage);
    return;
  }
  request.maxSamples = *limit;
  StoreSetup();
  const BandCheck check = CheckBands(request.settings);
  for (int i = 0; i < check.warnings; ++i) host_.MessageBox(kInvertedBandMessage);
  if (check.fatal) {
    host_.MessageBox(kInvertedBandMessage);
    UpdateData(true);
    controls_.EndDialog(kIdOk);
    return;
  }
  // The columns as checked now; every row of the run has these (a table whose rows do not
  // match its header could not be read back).
  request.columns = CheckedColumns();
  if (std::string problem = FeatureRequestProblem(request); !problem.empty()) {
    host_.MessageBox(problem);
    return;
  }

  request.folder = host_.BrowseForFolder().value_or("");
  if (request.folder.empty() || !IsDirectory(request.folder)) {
    host_.MessageBox(FeatureNoFilesMessage(request.folder));
    controls_.EndDialog(kIdCancel);
    return;
  }
  // Missing reviewed picks refuse the run: a table of automatic picks would look reviewed.
  if (std::string refusal = LoadOnsets(request); !refusal.empty()) {
    host_.MessageBox(refusal);
    return;
  }
  onsetsPath_ = request.onsetsPath;

  running_ = true;
  controls_.Enable(kIdfExtract, false);
  controls_.Enable(kIdfReviewOnsets, false);
  FeatureWorkspace& workspace = workspace_;
  Host& host = host_;
  CalcProgress& progress = progress_;
  runner_.Start([&workspace, &host, &progress,
                 request] { return ExtractFeatures(workspace, request, progress, host); },
                [this](CalcStatus status) { Finished(status); });
}

void CFeatureDlg::Finished(CalcStatus status) {
  running_ = false;
  controls_.Enable(kIdfExtract, true);
  controls_.Enable(kIdfReviewOnsets, true);
  if (closeAfterRun_ || StopRequested()) {
    controls_.EndDialog(kIdCancel);
    return;
  }
  // A run refused on a file (too many samples, no data) leaves the dialog open for another.
  if (status == CalcStatus::kRefused) return;
  // The files the run skipped or left out, and the rows that cannot mean anything, in one
  // message.
  if (status == CalcStatus::kDone) {
    std::string text;
    auto add = [&text](const std::string& part) {
      if (!text.empty()) text += '\n';
      text += part;
    };
    if (!workspace_.skipped.Empty())
      add(std::to_string(workspace_.skipped.All().size()) + " files skipped:\n" +
          workspace_.skipped.Text());
    if (!workspace_.rejected.Empty())
      add(std::to_string(workspace_.rejected.All().size()) + " rejected in " + onsetsPath_ +
          ", left out:\n" + workspace_.rejected.Text());
    if (!workspace_.unlisted.Empty())
      add(std::to_string(workspace_.unlisted.All().size()) + " not listed in " + onsetsPath_ +
          ", picked automatically:\n" + workspace_.unlisted.Text());
    if (!workspace_.mismatched.Empty()) add(workspace_.mismatched.Text());
    if (workspace_.doubtful > 0) add(DoubtfulRowsNote(workspace_.doubtful));
    if (!text.empty()) host_.MessageBox(text);
  }
  UpdateData(true);
  controls_.EndDialog(kIdOk);
}

}  // namespace plexo
