#pragma once
// The calculation mode: set by the menu commands, read by the dialog they open.
#include <cstdint>

namespace plexo {

enum class CalcMode : std::int32_t {
  kNone = 0,  // no calculation command chosen yet
  kSingleFft = 1,
  kSingleTft = 2,
  kAverageFft = 3,
  kAverageTft = 4,
  kConvolution = 5,
  kDeconvolution = 6,
  kAccumulate = 101,
  kColumns = 102,
  kEventLinking = 103,
  kAewinToAscii = 104,
  kVisualAeToAscii = 105,
  kSplit = 106,
};

// Modes 1 to 6: the ones the Options dialog runs.
inline bool IsOptionsMode(CalcMode mode) {
  return mode >= CalcMode::kSingleFft && mode <= CalcMode::kDeconvolution;
}

// The time-frequency modes, which use the right half of the Options dialog.
inline bool IsTimeFrequencyMode(CalcMode mode) {
  return mode == CalcMode::kSingleTft || mode == CalcMode::kAverageTft;
}

}  // namespace plexo
