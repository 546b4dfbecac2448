#pragma once
// Reads a waveform export of another acquisition program (or the program's own layout) from its
// text: the header values the waveform writer needs and every sample, however many.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/export_kind.h"
#include "signal/waveform.h"

namespace plexo {

// Values given by the user for what a file does not say. The sample interval also stands in
// for a missing one in a header; the others apply to headerless files only.
struct ImportOptions {
  std::optional<double> sampleInterval;  // seconds
  std::optional<std::string> units;
  std::optional<int> channel;
  std::optional<double> timeOfTest;  // seconds
};

struct ExportContents {
  ExportKind kind = ExportKind::kUnknown;
  WaveformHeader header;
  std::optional<long long> hitNumber;  // shown to the user; the waveform layout has no field
  std::vector<double> samples;         // every sample of the file, beyond MAX_SAMPLES too
  std::vector<std::string> warnings;
  std::string error;  // why the file is refused; empty when it was read
};

// The units a headerless file gets when none are given.
inline constexpr std::string_view kDefaultUnits = "volts";

// Reads `text` (the whole file). `stem` is the file name without its extension; a headerless
// file takes its channel and time of test from a stem "<test>_<channel>_<hit>_<time in us>".
ExportContents ReadExportText(std::string_view text, std::string_view stem,
                              const ImportOptions& options);

}  // namespace plexo
