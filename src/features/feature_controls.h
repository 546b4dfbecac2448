#pragma once
// The Feature Extraction dialog as data: its control ids and the control table.
#include <array>

#include "features/feature_columns.h"
#include "features/feature_params.h"
#include "platform/dialog_template.h"

namespace plexo {

enum FeatureControlId : ControlId {
  kIdfExtract = 1,
  kIdfCancel = 2,
  kIdfWaveletTypeCombo = 1008,
  kIdfWaveletLength = 1009,
  kIdfFreqStart = 1013,
  kIdfFreqEnd = 1014,
  kIdfFreqResolution = 1020,
  kIdfWaveletLengthLabel = 1034,
  kIdfWaveletTypeLabel = 1035,
  kIdfTimeDomainLabel = 1036,
  kIdfFreqDomainLabel = 1037,
  kIdfTimeStartLabel = 1038,
  kIdfTimeEndLabel = 1039,
  kIdfFreqStartLabel = 1041,
  kIdfFreqEndLabel = 1042,
  kIdfFreqResolutionLabel = 1043,
  kIdfTimeStart = 1083,
  kIdfTimeEnd = 1084,
  kIdfProgress = 1085,
  kIdfWtBandLabel = 1088,
  kIdfDuration = 1093,
  kIdfUseAic = 1094,
  kIdfDurationLabel = 1104,
  kIdfImpedance = 1108,
  kIdfImpedanceLabel = 1109,
  kIdfOhmsLabel = 1110,
  // The four group boxes have no ids of their own in the resource; these name them here.
  kIdfTimeGroup = 1111,
  kIdfFftGroup = 1112,
  kIdfWtGroup = 1113,
  kIdfRangeGroup = 1114,
  // Added to the resource's controls: the sample limit and the wavelet rows' method.
  kIdfMaxSamplesLabel = 1115,
  kIdfMaxSamples = 1116,
  kIdfWaveletMethodLabel = 1117,
  kIdfWaveletMethodCombo = 1118,
  // The onset review: its window, and the run taking the reviewed picks of the folder's
  // FXData/Onsets.txt.
  kIdfReviewOnsets = 1119,
  kIdfUseOnsets = 1120,
  kIdfUseOnsetsNote = 1121,
};

// The feature check boxes, whose ids the column table holds.
inline constexpr ControlId kIdfArrivalTime = FeatureCheckBox(kColArrivalTime);
inline constexpr ControlId kIdfPeakAmplitude = FeatureCheckBox(kColPeakAmplitude);
inline constexpr ControlId kIdfSignalEnergy = FeatureCheckBox(kColSignalEnergy);
inline constexpr ControlId kIdfPeakFrequency1 = FeatureCheckBox(kColPeakFrequency1);
inline constexpr ControlId kIdfFrequencyCentroid = FeatureCheckBox(kColFrequencyCentroid);
inline constexpr ControlId kIdfModulusMaximumTime = FeatureCheckBox(kColModulusMaximumTime);
inline constexpr ControlId kIdfModulusMaximumFrequency =
    FeatureCheckBox(kColModulusMaximumFrequency);
inline constexpr ControlId kIdfModulusMaximum = FeatureCheckBox(kColModulusMaximum);

// The check boxes of `count` consecutive columns from `first`.
template <size_t count>
constexpr std::array<ControlId, count> FeatureCheckBoxes(int first) {
  std::array<ControlId, count> ids{};
  for (size_t k = 0; k < count; ++k) ids[k] = FeatureCheckBox(first + static_cast<int>(k));
  return ids;
}

// Partial power band k (0-based): its check box and its begin and end edits.
inline constexpr std::array<ControlId, kPartialPowerBands> kIdfPartialPower =
    FeatureCheckBoxes<kPartialPowerBands>(kColPartialPower1);
inline constexpr std::array<ControlId, kPartialPowerBands> kIdfPpBegin{1060, 1063, 1066, 1069,
                                                                       1072, 1075, 1078, 1081};
inline constexpr std::array<ControlId, kPartialPowerBands> kIdfPpEnd{1061, 1064, 1067, 1070,
                                                                     1073, 1076, 1079, 1082};
// Wavelet band k (0-based): its "WT Peak Coefficient" check box and its edits.
inline constexpr std::array<ControlId, kWaveletBands> kIdfWtPeak =
    FeatureCheckBoxes<kWaveletBands>(kColTimeFrequencyPower1);
inline constexpr std::array<ControlId, kWaveletBands> kIdfWtBegin{1090, 1096, 1099, 1102};
inline constexpr std::array<ControlId, kWaveletBands> kIdfWtEnd{1091, 1097, 1100, 1103};

// The controls every wavelet feature needs: wavelet length, type and method, the frequency domain.
inline constexpr std::array<ControlId, 13> kWtSettingsGroup{
    kIdfWaveletLength,      kIdfWaveletLengthLabel,
    kIdfWaveletTypeCombo,   kIdfWaveletTypeLabel,
    kIdfWaveletMethodCombo, kIdfWaveletMethodLabel,
    kIdfFreqDomainLabel,    kIdfFreqStart,
    kIdfFreqStartLabel,     kIdfFreqEnd,
    kIdfFreqEndLabel,       kIdfFreqResolution,
    kIdfFreqResolutionLabel};

const DialogTemplate& FeatureDialogTemplate();

}  // namespace plexo
