// plexo features DIR: the feature extraction over the waveform files of a folder, written as
// DIR/FXData/FX_Results.txt. Defaults are the feature dialog's; nothing comes from the setup
// file (the dialog stores nothing there either).
#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>

#include "features/feature_extraction.h"
#include "frontends/cli/cli_app.h"
#include "frontends/cli/distributed_runs.h"
#include "frontends/cli/job_count_option.h"
#include "frontends/cli/positive_option.h"
#include "frontends/cli/progress_bar.h"
#include "platform/headless_host.h"
#include "timefreq/cwt_row_runner.h"

namespace plexo::cli {
namespace {

struct FeaturesOptions {
  std::string folder;
  std::vector<std::string> columns;  // short names; empty: the dialog's initial selection
  bool all = false;
  std::vector<std::string> bands;    // K:BEGIN:END for partial power band K
  std::vector<std::string> wtBands;  // K:BEGIN:END for wavelet band K
  FeatureRequest request;
};

// The short names of the 25 columns, in table order.
const std::vector<std::string>& ColumnNames() {
  static const std::vector<std::string> names = {"arrival-time",
                                                 "amplitude",
                                                 "energy",
                                                 "peak-frequency-1",
                                                 "peak-frequency-2",
                                                 "peak-frequency-3",
                                                 "weighted-peak-frequency-1",
                                                 "weighted-peak-frequency-2",
                                                 "weighted-peak-frequency-3",
                                                 "centroid",
                                                 "partial-power-1",
                                                 "partial-power-2",
                                                 "partial-power-3",
                                                 "partial-power-4",
                                                 "partial-power-5",
                                                 "partial-power-6",
                                                 "partial-power-7",
                                                 "partial-power-8",
                                                 "mm-time",
                                                 "mm-frequency",
                                                 "mm",
                                                 "tf-power-1",
                                                 "tf-power-2",
                                                 "tf-power-3",
                                                 "tf-power-4"};
  return names;
}

struct Band {
  int k = 0;  // 1-based
  std::string begin;
  std::string end;
};

// "K:BEGIN:END" with K in 1 .. bands; the edges stay texts (parsed like the dialog's fields).
std::optional<Band> ParseBand(const std::string& text, int bands) {
  const size_t first = text.find(':');
  if (first != 1 || text[0] < '1' || text[0] > '0' + bands) return std::nullopt;
  const size_t second = text.find(':', first + 1);
  if (second == std::string::npos) return std::nullopt;
  return Band{text[0] - '0', text.substr(first + 1, second - first - 1), text.substr(second + 1)};
}

// Folds the column and band options into the request. The partial power bands of columns that
// are not written hold "0" and "0", as the dialog's unchecked bands do (they then take no part
// in the spectral total either).
std::string ApplyOptions(FeaturesOptions& o) {
  FeatureRequest& r = o.request;
  if (o.all) {
    r.columns.set();
  } else if (!o.columns.empty()) {
    r.columns.reset();
    const auto& names = ColumnNames();
    for (const std::string& name : o.columns) {
      r.columns.set(std::find(names.begin(), names.end(), name) - names.begin());
    }
  }
  for (const std::string& text : o.bands) {
    const std::optional<Band> band = ParseBand(text, kPartialPowerBands);
    if (!band) return "--band expects K:BEGIN:END with K in 1..8, not " + text;
    r.params.ppBegin[band->k - 1] = band->begin;
    r.params.ppEnd[band->k - 1] = band->end;
  }
  for (const std::string& text : o.wtBands) {
    const std::optional<Band> band = ParseBand(text, kWaveletBands);
    if (!band) return "--wt-band expects K:BEGIN:END with K in 1..4, not " + text;
    r.params.wtBegin[band->k - 1] = band->begin;
    r.params.wtEnd[band->k - 1] = band->end;
  }
  for (int b = 0; b < kPartialPowerBands; ++b) {
    if (!r.columns.test(kColPartialPower1 + b)) r.params.ppBegin[b] = r.params.ppEnd[b] = "0";
  }
  // The arrival time is a pick: it brings the picker along, as the dialog's check box does.
  if (r.columns.test(kColArrivalTime)) r.useAic = true;
  return {};
}

int RunFeatures(FeaturesOptions& o) {
  // Under an MPI launch only the first rank talks to the user; every rank runs the same checks.
  const DistributedRuns* ranks = InstalledDistributedRuns();
  const bool talks = ranks == nullptr || ranks->root;
  HeadlessHost headless;
  if (std::string error = ApplyOptions(o); !error.empty()) {
    if (talks) std::cerr << error << std::endl;
    return ExitStatus(CalcStatus::kRefused);
  }
  // The dialog's band check: a message per inverted band; the last wavelet band ends the run.
  const FeatureSettings settings = ParseFeatureParams(o.request.params, o.request.useAic);
  const BandCheck check = CheckBands(settings);
  for (int i = 0; talks && i < check.warnings; ++i) headless.MessageBox(kInvertedBandMessage);
  if (check.fatal) {
    if (talks) headless.MessageBox(kInvertedBandMessage);
    return ExitStatus(CalcStatus::kRefused);
  }
  auto workspace = std::make_unique<FeatureWorkspace>();
  TerminalProgressBar progress("features");
  NullProgress silent;
  BarFinishingHost host(headless, progress);
  const CalcStatus status =
      ranks != nullptr && ranks->features
          ? ranks->features(*workspace, o.request,
                            talks ? static_cast<CalcProgress&>(progress) : silent, host)
          : ExtractFeatures(*workspace, o.request, progress, host);
  progress.Finish();
  if (!talks) return ExitStatus(status);
  switch (status) {
    case CalcStatus::kDone:
      std::cout << "Features of " << workspace->processed << " waveform files\nWrote "
                << FeatureResultsPath(o.request.folder) << std::endl;
      break;
    case CalcStatus::kFailed:
      std::cerr << "The results could not be written into "
                << FeatureResultsFolder(o.request.folder) << std::endl;
      break;
    case CalcStatus::kRefused:
    case CalcStatus::kStopped:
      std::cerr << "No table written." << std::endl;
      break;
  }
  return ExitStatus(status);
}

}  // namespace

Command AddFeaturesCommand(CLI::App& app, CommonOptions& /*common*/) {
  auto* sub = app.add_subcommand(
      "features",
      "Feature extraction: for every waveform file (*.txt) of a folder one row of time-, FFT-\n"
      "and wavelet-based features, written to DIR/FXData/FX_Results.txt (header line, units\n"
      "line, one tab-separated row per file in name order). Defaults are those of the\n"
      "Feature Extraction dialog.");
  auto o = std::make_shared<FeaturesOptions>();
  FeatureParams& p = o->request.params;
  sub->add_option("DIR", o->folder, "Folder of waveform files")->required();
  std::string names;
  for (const std::string& name : ColumnNames()) names += (names.empty() ? "" : ", ") + name;
  sub->add_option("--columns", o->columns,
                  "Columns to write, comma-separated, in any order (the table keeps its own):\n" +
                      names +
                      ".\nDefault: amplitude, energy, peak and weighted peak frequencies 1-3,\n"
                      "centroid, partial-power-1..6. arrival-time switches on --aic.")
      ->delimiter(',')
      ->check(CLI::IsMember(ColumnNames()));
  sub->add_flag("--all", o->all, "Write all 25 columns");
  sub->add_option("--band", o->bands,
                  "Partial power band K from BEGIN to END Hz (bin frequencies BEGIN <= f < END);\n"
                  "repeatable. Defaults: 0:150e3, 150e3:300e3, ..., 900e3:1200e3; bands whose\n"
                  "column is not written are 0:0")
      ->type_name("K:BEGIN:END");
  sub->add_option("--start", p.timeStart, "Start of the time window in s")->capture_default_str();
  sub->add_option("--end", p.timeEnd, "End of the time window in s")->capture_default_str();
  sub->add_flag("--aic", o->request.useAic,
                "Window from the AIC onset pick to the pick + --duration instead of\n"
                "--start/--end; the arrival time is then the pick");
  sub->add_option("--duration", p.duration, "Window length after the AIC pick in s")
      ->capture_default_str()
      ->check(PositiveNumberCheck());
  sub->add_option("--freq-start", p.freqStart, "Wavelet frequency range start in Hz")
      ->capture_default_str();
  sub->add_option("--freq-end", p.freqEnd, "Wavelet frequency range end in Hz")
      ->capture_default_str();
  sub->add_option("--freq-res", p.freqResolution, "Wavelet frequency step in Hz (at most 511 rows)")
      ->capture_default_str()
      ->check(PositiveNumberCheck());
  sub->add_option("--wavelet-length", p.waveletLength, "Wavelet length in samples")
      ->capture_default_str()
      ->check(PositiveCountCheck());
  sub->add_option("--wt-band", o->wtBands,
                  "Wavelet band K from BEGIN to END Hz (rows BEGIN < f <= END); repeatable.\n"
                  "Defaults: 0:150e3, 150e3:300e3, 300e3:450e3, 450e3:1000e3")
      ->type_name("K:BEGIN:END");
  sub->add_option("--impedance", p.impedance, "Load impedance for the energy in ohms (integer)")
      ->capture_default_str()
      ->check(PositiveCountCheck());
  sub->add_flag("--with-file-names", o->request.withFileNames,
                "Start every row with its file name (a \"file name\" column)");
  sub->add_option("--jobs", o->request.jobs,
                  "Threads working on files (default: every core); the table does not depend on it")
      ->check(JobCountCheck());
  Command command;
  command.app = sub;
  command.run = [o]() {
    o->request.folder = o->folder;
    return RunFeatures(*o);
  };
  return command;
}

}  // namespace plexo::cli
