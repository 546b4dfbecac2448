#pragma once
// The options of a feature run by their command-line names, in one place for every front end
// that takes them by name (the command line's options, the Python module's keyword arguments):
// the parameter texts with their kind and help, the columns by name, and the partial power and
// wavelet bands as "K:BEGIN:END".
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "features/feature_extraction.h"
#include "features/feature_params.h"

namespace plexo {

// What a parameter's text must be: any finite number, a finite number > 0, or a whole number
// >= 1 (written in any exact form: "1e3" is 1000).
enum class FeatureParamKind { kNumber, kPositiveNumber, kPositiveCount };

struct FeatureParamEntry {
  const char* name;   // "time-start": the option --time-start (time_start in Python)
  const char* alias;  // a second name ("start"), or nullptr
  std::string FeatureParams::*text;
  FeatureParamKind kind;
  const char* help;
};

// clang-format off
inline const std::array<FeatureParamEntry, 8> kFeatureParamTable{{
    {"time-start", "start", &FeatureParams::timeStart, FeatureParamKind::kNumber,
     "Start of the time window in s"},
    {"time-end", "end", &FeatureParams::timeEnd, FeatureParamKind::kNumber,
     "End of the time window in s"},
    {"duration", nullptr, &FeatureParams::duration, FeatureParamKind::kPositiveNumber,
     "Window length after the AIC pick in s"},
    {"freq-start", nullptr, &FeatureParams::freqStart, FeatureParamKind::kNumber,
     "Wavelet frequency range start in Hz"},
    {"freq-end", nullptr, &FeatureParams::freqEnd, FeatureParamKind::kNumber,
     "Wavelet frequency range end in Hz"},
    {"freq-res", nullptr, &FeatureParams::freqResolution, FeatureParamKind::kPositiveNumber,
     "Wavelet frequency step in Hz (at most 511 rows)"},
    {"wavelet-length", nullptr, &FeatureParams::waveletLength, FeatureParamKind::kPositiveCount,
     "Wavelet length in samples"},
    {"impedance", nullptr, &FeatureParams::impedance, FeatureParamKind::kPositiveCount,
     "Load impedance for the energy in ohms (integer)"},
}};
// clang-format on

// The row of a parameter by its name or alias, or nullptr.
const FeatureParamEntry* FeatureParamNamed(std::string_view name);

// Checks a parameter's text; a whole number's text is rewritten as plain digits. Returns
// "Value TEXT is not allowed: give ..." or an empty text.
std::string CheckFeatureParam(FeatureParamKind kind, std::string& text);

// The command-line names of the columns, in table order; the index of a name, or -1.
const std::vector<std::string>& FeatureColumnNames();
int FeatureColumnNamed(std::string_view name);

// What a run is asked for by name, beside the parameter texts.
struct FeatureOptions {
  std::vector<std::string> columns;  // column names; empty: the default columns
  bool all = false;                  // every column (not with `columns`)
  std::vector<std::string> bands;    // "K:BEGIN:END" for partial power band K
  std::vector<std::string> wtBands;  // "K:BEGIN:END" for wavelet band K
  FeatureParams params;              // the texts as given
  bool useAic = false;
  std::string waveletMethod = "direct";  // "direct" or "fft": how the wavelet rows are summed
};

// Folds the columns, bands and parameters into request.columns and request.settings; returns
// the message that refuses them (an unknown column, --all with --columns, a malformed band, the
// same K twice, a band whose column is not written, a wavelet method other than direct and
// fft), else an empty text. A column's value
// never depends on which other columns are written: bands that are not given keep their
// defaults and the onset picker runs only with useAic.
std::string ApplyFeatureOptions(FeatureOptions options, FeatureRequest& request);

}  // namespace plexo
