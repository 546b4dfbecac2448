// plexo features DIR: the feature extraction over the waveform files of a folder, written as
// DIR/FXData/FX_Results.txt. Defaults are the feature dialog's; nothing comes from the setup
// file (the dialog stores nothing there either).
#include <algorithm>
#include <array>
#include <iostream>
#include <memory>
#include <optional>

#include "features/feature_extraction.h"
#include "features/feature_options.h"
#include "frontends/cli/cli_app.h"
#include "frontends/cli/distributed_runs.h"
#include "frontends/cli/feature_param_option.h"
#include "frontends/cli/input_arguments.h"
#include "frontends/cli/input_paths.h"
#include "frontends/cli/job_count_option.h"
#include "frontends/cli/max_samples_option.h"
#include "frontends/cli/number_option.h"
#include "frontends/cli/progress_bar.h"
#include "frontends/cli/table_format_option.h"
#include "frontends/cli/wavelet_method_option.h"
#include "platform/headless_host.h"

namespace plexo::cli {
namespace {

struct FeaturesOptions {
  std::string folder;
  FeatureOptions options;  // columns, bands and parameter texts, applied once parsed
  std::string format;      // txt or csv
  std::string onsets;      // --onsets FILE: reviewed picks
  FeatureRequest request;
};

int RunFeatures(FeaturesOptions& o) {
  // Under an MPI launch only the first rank talks to the user; every rank runs the same checks.
  const DistributedRuns* ranks = InstalledDistributedRuns();
  const bool talks = ranks == nullptr || ranks->root;
  HeadlessHost headless;
  if (!o.onsets.empty()) {
    auto table = std::make_shared<OnsetTable>();
    std::string why;
    if (!ReadOnsetTable(o.onsets, *table, why)) {
      if (talks) std::cerr << why << "\nNo table written." << std::endl;
      return ExitStatus(CalcStatus::kRefused);
    }
    o.request.onsets = std::move(table);
    o.request.onsetsPath = o.onsets;
    o.options.useAic = true;  // the listed waveforms' windows start at their picks
  }
  if (std::string error = ApplyFeatureOptions(o.options, o.request); !error.empty()) {
    if (talks) std::cerr << error << std::endl;
    return ExitStatus(CalcStatus::kRefused);
  }
  if (const std::optional<int> refused = RefuseBatchInput(o.request.folder, talks)) return *refused;
  // The dialog's band check: a message per inverted band; the last wavelet band ends the run.
  const BandCheck check = CheckBands(o.request.settings);
  for (int i = 0; talks && i < check.warnings; ++i) headless.MessageBox(kInvertedBandMessage);
  if (check.fatal) {
    if (talks) headless.MessageBox(kInvertedBandMessage);
    return ExitStatus(CalcStatus::kRefused);
  }
  auto workspace = std::make_unique<FeatureWorkspace>();
  o.request.progressPerFile = true;
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
    case CalcStatus::kDone: {
      // One write, so that a launcher forwarding the stream keeps the notes whole.
      std::string notes;
      for (const std::string& note : workspace->skipped.All()) notes += "Skipped: " + note + "\n";
      for (const std::string& label : workspace->rejected.All())
        notes += "Rejected in " + o.onsets + ", left out: " + label + "\n";
      for (const std::string& label : workspace->unlisted.All())
        notes += "Not listed in " + o.onsets + ", picked automatically: " + label + "\n";
      for (const std::string& note : workspace->mismatched.All())
        notes += "Warning: " + note + "\n";
      if (workspace->doubtful > 0)
        notes += "Warning: " + DoubtfulRowsNote(workspace->doubtful) + "\n";
      std::cerr << notes << std::flush;
      const size_t skipped = workspace->skipped.All().size();
      std::cout << "Features of " << workspace->processed << " "
                << BatchInputItems(o.request.folder);
      if (skipped > 0) std::cout << ", " << skipped << " skipped";
      if (const size_t rejected = workspace->rejected.All().size(); rejected > 0)
        std::cout << ", " << rejected << " rejected";
      std::cout << "\nWrote " << FeatureResultsPath(o.request.folder, o.request.format)
                << std::endl;
      break;
    }
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

namespace {

// The column list of --help, from the column table: name, unit and meaning, in table order.
// Neighbouring columns named NAME-1, NAME-2, ... with one meaning share a line "NAME-1..N"; a
// marker says which of them are written by default.
std::string ColumnHelp() {
  std::string help = "Columns (name [unit]: meaning; * = written by default):\n";
  for (int c = 0; c < kFeatureColumnCount;) {
    const FeatureColumnEntry& first = kFeatureColumnTable[c];
    const std::string name = first.name;
    int run = 1;
    if (name.size() > 2 && name.substr(name.size() - 2) == "-1") {
      const std::string stem = name.substr(0, name.size() - 1);
      while (
          c + run < kFeatureColumnCount &&
          kFeatureColumnTable[c + run].name == stem + std::to_string(run + 1) &&
          std::string(kFeatureColumnTable[c + run].help) == first.help &&
          !(kFeatureColumnTable[c + run].byDefault && !kFeatureColumnTable[c + run - 1].byDefault))
        ++run;
    }
    int defaults = 0;
    for (int k = 0; k < run; ++k) defaults += kFeatureColumnTable[c + k].byDefault ? 1 : 0;
    help += "  ";
    help += run == 1 ? name : name + ".." + std::to_string(run);
    if (defaults == run) {
      help += " *";
    } else if (defaults > 0) {
      help += " (1.." + std::to_string(defaults) + " *)";
    }
    help += std::string(" [") + first.unit + "]: " + first.help + "\n";
    c += run;
  }
  return help +
         "The time window (--time-start/--time-end, or --aic with --duration) applies to every\n"
         "column family: time, spectrum and wavelet.";
}

}  // namespace

Command AddFeaturesCommand(CLI::App& app, CommonOptions& /*common*/) {
  auto* sub = app.add_subcommand(
      "features",
      std::string(
          "Feature extraction: for every waveform file (*.txt) of a folder one row of time-, FFT-\n"
          "and wavelet-based features, written to DIR/FXData/FX_Results.txt (header line, units\n"
          "line, one tab-separated row per file in name order; --format csv writes\n"
          "FX_Results.csv instead). Defaults are those of the Feature Extraction dialog.\n"
          "DIR may be a waveform database DB.tradb instead: its records are read directly, in\n"
          "TRAI order, into DB_FXData/FX_Results.txt beside it (--with-file-names: the TRAI).\n") +
          ColumnHelp() +
          "\nSkipped (each named on stderr with its reason, counted in the closing line): files\n"
          "that cannot be read or hold no data, no positive finite sample interval or a sample\n"
          "that is not a finite number (an _fft.txt result, a README.txt), and with\n"
          "--with-file-names files whose name holds a tab, CR or LF (the .txt table only).\n"
          "--strict stops at the first.\n"
          "Refused (nothing written, an earlier table stays): a folder that is missing, cannot\n"
          "be listed or holds no *.txt file; a file over --max-samples (16384) samples; a wavelet\n"
          "grid or window that does not fit; malformed options.\n"
          "Exit status: 0 table written (files may have been skipped); the others as listed\n"
          "by plexo --help.");
  auto o = std::make_shared<FeaturesOptions>();
  FeatureParams& p = o->options.params;
  AddBatchInputArgument(*sub, o->folder);
  std::string names;
  for (const std::string& name : FeatureColumnNames()) names += (names.empty() ? "" : ", ") + name;
  sub->add_option("--columns", o->options.columns,
                  "Columns to write, comma-separated, in any order (the table keeps its own):\n" +
                      names + ".\nDefault: the columns marked * above")
      ->delimiter(',')
      ->check(CLI::IsMember(FeatureColumnNames()));
  sub->add_flag(
      "--all", o->options.all,
      "Write all " + std::to_string(kFeatureColumnCount) + " columns (not with --columns)");
  std::string band_defaults;
  for (int b = 0; b < kPartialPowerBands; ++b)
    band_defaults += (b == 0 ? "" : (b % 3 == 0 ? ",\n  " : ", ")) + std::to_string(b + 1) + ":" +
                     p.ppBegin[b] + ":" + p.ppEnd[b];
  std::string wt_defaults;
  for (int b = 0; b < kWaveletBands; ++b)
    wt_defaults +=
        (b == 0 ? "" : ", ") + std::to_string(b + 1) + ":" + p.wtBegin[b] + ":" + p.wtEnd[b];
  sub->add_option("--band", o->options.bands,
                  "Partial power band K from BEGIN to END Hz (bin frequencies BEGIN <= f < END);\n"
                  "repeatable, each K once, only for written columns. Defaults:\n  " +
                      band_defaults)
      ->type_name("K:BEGIN:END");
  AddFeatureParamOption(sub, p, "time-start");
  AddFeatureParamOption(sub, p, "time-end");
  sub->add_flag("--aic", o->options.useAic,
                "Window from the AIC onset pick to the pick + --duration instead of\n"
                "--time-start/--time-end; the arrival time is then the pick");
  AddFeatureParamOption(sub, p, "duration");
  sub->add_option("--onsets", o->onsets,
                  "Reviewed onset picks (an Onsets.txt of plexo onsets, perhaps corrected by\n"
                  "hand; implies --aic): a listed waveform's arrival time and window start at\n"
                  "its corrected onset sample (the sample holds where the time disagrees);\n"
                  "rejected ones are left out, unlisted ones picked automatically, each named")
      ->type_name("FILE");
  AddFeatureParamOption(sub, p, "freq-start");
  AddFeatureParamOption(sub, p, "freq-end");
  AddFeatureParamOption(sub, p, "freq-res");
  AddFeatureParamOption(sub, p, "wavelet-length");
  AddWaveletMethodOption(*sub, o->options.waveletMethod, "direct");
  sub->add_option("--wt-band", o->options.wtBands,
                  "Wavelet band K from BEGIN to END Hz (rows BEGIN < f <= END); repeatable, each\n"
                  "K once, only for written columns. Defaults: " +
                      wt_defaults)
      ->type_name("K:BEGIN:END");
  AddFeatureParamOption(sub, p, "impedance");
  sub->add_flag("--with-file-names", o->request.withFileNames,
                "Start every row with its file name (a \"file name\" column)");
  AddTableFormatOption(sub, o->format, "FX_Results");
  sub->add_flag("--strict", o->request.strict,
                "Stop at the first file that would be skipped; nothing is written");
  AddMaxSamplesOption(sub, o->request.maxSamples);
  sub->add_option("-j,--jobs", o->request.jobs,
                  "Threads working on files (default: every core); the table does not depend on it")
      ->transform(JobCountCheck());
  return Command{sub, [o]() {
                   o->request.folder = o->folder;
                   o->request.format = TableFormatNamed(o->format);
                   return RunFeatures(*o);
                 }};
}

}  // namespace plexo::cli
