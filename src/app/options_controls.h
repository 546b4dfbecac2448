#pragma once
// The Options dialog as data: its control ids and the control table (captions, groups, initial
// states, positions in dialog units).
#include "platform/dialog_template.h"

namespace plexo {

// Control ids of the Options dialog.
enum OptionsControlId : ControlId {
  kIdcCalculate = 1000,
  kIdcSaveSetup = 1002,
  kIdcWindowCombo = 1004,
  kIdcProgress = 1005,
  kIdcFftPath = 1006,
  kIdcWtPath = 1007,
  kIdcWaveletTypeCombo = 1008,
  kIdcWaveletLength = 1009,
  kIdcLoadSetup = 1010,
  kIdcTimeStart = 1011,
  kIdcTimeEnd = 1012,
  kIdcFreqStart = 1013,
  kIdcFreqEnd = 1014,
  kIdcAutoThreshold = 1015,
  kIdcHwPath = 1016,
  kIdcTimeRes = 1017,
  kIdcAutoResTime = 1018,
  kIdcThreshold = 1019,
  kIdcFreqRes = 1020,
  kIdcAutoResFreq = 1021,
  kIdcOutputFormatCombo = 1022,
  kIdcLoadFftPath = 1023,
  kIdcLoadWtPath = 1024,
  kIdcLoadHwPath = 1025,
  kIdcSubsampling = 1026,
  kIdcWindowParameter = 1027,
  kIdcFftGroup = 1029,
  kIdcFftPathLabel = 1031,
  kIdcOutputFormatLabel = 1032,
  kIdcTftGroup = 1033,
  kIdcWaveletLengthLabel = 1034,
  kIdcWaveletTypeLabel = 1035,
  kIdcTimeDomainLabel = 1036,
  kIdcFreqDomainLabel = 1037,
  kIdcTimeStartLabel = 1038,
  kIdcTimeEndLabel = 1039,
  kIdcTimeResLabel = 1040,
  kIdcFreqStartLabel = 1041,
  kIdcFreqEndLabel = 1042,
  kIdcFreqResLabel = 1043,
  kIdcThresholdLabel = 1044,
  kIdcWtPathLabel = 1045,
  kIdcConvolutionGroup = 1046,
  kIdcHwPathLabel = 1047,
  kIdcSaveComplex = 1048,
  kIdcWindowLabel = 1049,
  kIdcWindowParameterLabel = 1050,
  kIdcSubsamplingLabel = 1051,
  kIdcMaxSamplesLabel = 1052,
  kIdcMaxSamples = 1053,
  kIdcWaveletMethodLabel = 1054,
  kIdcWaveletMethodCombo = 1055,
  kIdcRadioCwt = 1105,
  kIdcRadioSpwvd = 1106,
};

const DialogTemplate& OptionsDialogTemplate();

}  // namespace plexo
