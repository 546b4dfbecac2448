#pragma once
// The time-frequency options that plexo tft and plexo avg-tft share: the method, the time and
// frequency grid, the automatic resolutions, the output form and the transform lengths. Values
// start from the setup file as the Options dialog shows them; options that were given override
// them; the dialog's validation runs before the calculation.
#include <CLI/CLI.hpp>
#include <string>

#include "signal/calc_settings.h"
#include "timefreq/tft_request.h"

namespace plexo::cli {

inline constexpr const char* kInvalidGridMessage =
    "Non-valid input parameters! Please check consistence!";

// What the command line may set, and which of it was given.
struct TftGridOptions {
  std::string method;         // "cwt", "spwvd", or empty for the setup file's choice
  std::string waveletMethod;  // "direct", "fft", or empty for the setup file's choice
  double timeStart = 0, timeEnd = 0, timeRes = 0;
  double freqStart = 0, freqEnd = 0, freqRes = 0;
  bool autoTimeRes = false, autoFreqRes = false, complex = false;
  int waveletLength = 0, subsampling = 0, windowParameter = 0;
  CLI::Option *timeStartGiven = nullptr, *timeEndGiven = nullptr, *timeResGiven = nullptr;
  CLI::Option *freqStartGiven = nullptr, *freqEndGiven = nullptr, *freqResGiven = nullptr;
  CLI::Option *autoTimeResGiven = nullptr, *autoFreqResGiven = nullptr, *complexGiven = nullptr;
  CLI::Option *waveletLengthGiven = nullptr, *subsamplingGiven = nullptr,
              *windowParameterGiven = nullptr;
};

// Registers --method, the grid options, the three flags and the lengths on `sub`.
void AddTftGridOptions(CLI::App& sub, TftGridOptions& options);

// The request the Options dialog would hand over for `settings` (it shows the grid as "%.2e"
// texts and the lengths as "%.0lf" texts and parses what it shows), with the options that were
// given applied on top. The path is left empty.
TftRequest TftRequestFor(const TftGridOptions& options, const CalcSettings& settings);

// True for the Wigner-Ville distribution: --method when given, else the setup file's choice.
bool UsesWignerVille(const TftGridOptions& options, const CalcSettings& settings);

}  // namespace plexo::cli
