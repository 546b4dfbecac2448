// plexo onsets DIR: the AIC onset pick of every waveform of a folder (or database), written as
// DIR/FXData/Onsets.txt for review and correction, with one review picture per waveform on
// request. `plexo features --onsets` then uses the reviewed picks.
#include <iostream>
#include <memory>

#include "features/feature_options.h"
#include "features/onset_run.h"
#include "frontends/cli/cli_app.h"
#include "frontends/cli/feature_param_option.h"
#include "frontends/cli/input_arguments.h"
#include "frontends/cli/input_paths.h"
#include "frontends/cli/job_count_option.h"
#include "frontends/cli/max_samples_option.h"
#include "frontends/cli/progress_bar.h"
#include "platform/headless_host.h"

namespace plexo::cli {
namespace {

struct OnsetsOptions {
  FeatureParams params;  // --duration
  OnsetRequest request;
};

int RunOnsets(OnsetsOptions& o) {
  if (const std::optional<int> refused = RefuseBatchInput(o.request.input)) return *refused;
  o.request.settings = ParseFeatureParams(o.params, /*useAic=*/true);
  HeadlessHost headless;
  auto workspace = std::make_unique<OnsetWorkspace>();
  TerminalProgressBar progress("onsets");
  BarFinishingHost host(headless, progress);
  const CalcStatus status = PickOnsets(*workspace, o.request, progress, host);
  progress.Finish();
  if (status == CalcStatus::kDone || status == CalcStatus::kFailed) {
    std::string notes;
    for (const std::string& note : workspace->skipped.All()) notes += "Skipped: " + note + "\n";
    for (const std::string& note : workspace->doubtful.All()) notes += "Warning: " + note + "\n";
    std::cerr << notes << std::flush;
  }
  switch (status) {
    case CalcStatus::kDone: {
      const size_t skipped = workspace->skipped.All().size();
      std::cout << "Onsets of " << workspace->processed << " " << BatchInputItems(o.request.input);
      if (skipped > 0) std::cout << ", " << skipped << " skipped";
      if (workspace->kept > 0)
        std::cout << ", " << workspace->kept << " corrected or rejected kept from the earlier file";
      std::cout << "\nWrote " << OnsetFilePath(o.request.input) << std::endl;
      if (!o.request.plots.empty())
        std::cout << "Wrote " << workspace->processed
                  << (workspace->processed == 1 ? " review picture" : " review pictures")
                  << " into " << o.request.plots << std::endl;
      break;
    }
    case CalcStatus::kFailed:
      break;  // the host named what could not be written
    case CalcStatus::kRefused:
    case CalcStatus::kStopped:
      std::cerr << "No onsets file written." << std::endl;
      break;
  }
  return ExitStatus(status);
}

}  // namespace

Command AddOnsetsCommand(CLI::App& app, CommonOptions& /*common*/) {
  auto* sub = app.add_subcommand(
      "onsets",
      "Onset review: the AIC onset pick of every waveform file (*.txt) of a folder, as\n"
      "plexo features --aic picks it, written to DIR/FXData/Onsets.txt (for a database\n"
      "DB.tradb: DB_FXData/Onsets.txt beside it, rows named by TRAI). One tab-separated row\n"
      "per waveform: file name, automatic onset (sample) and arrival time (s, exactly the\n"
      "feature table's), corrected onset and arrival time (equal to the automatic ones at\n"
      "first) and the state: automatic, corrected or rejected. Correct a pick by editing the\n"
      "corrected onset sample (the sample holds where the time disagrees; a changed sample\n"
      "counts as corrected), reject a hit by writing rejected, then run\n"
      "plexo features DIR --onsets DIR/FXData/Onsets.txt.\n"
      "An existing Onsets.txt keeps its corrections: its corrected and rejected rows keep their\n"
      "corrected onset and state, the other rows are picked afresh. The run is refused (the\n"
      "file left as it is) when that file cannot be read or corrects waveforms the input no\n"
      "longer holds; --force replaces it whole.\n"
      "Skipped (each named on stderr): files that cannot be read or hold no data. A pick that\n"
      "cannot mean anything (no pre-trigger, no split with a negative criterion) is named too.\n"
      "Exit status: 0 file written (files may have been skipped); the others as listed by\n"
      "plexo --help.");
  auto o = std::make_shared<OnsetsOptions>();
  AddBatchInputArgument(*sub, o->request.input);
  AddFeatureParamOption(sub, o->params, "duration")
      ->description(
          "Window length after the pick in s (the feature run's --duration): its end\n"
          "is marked in the review pictures");
  sub->add_option("--plots", o->request.plots,
                  "Write one review picture per waveform into this folder (created when\n"
                  "needed), NAME_onset.png: the waveform, below it the picker's criterion on the\n"
                  "same time axis, the picks marked on both")
      ->type_name("DIR");
  sub->add_flag("--force", o->request.force,
                "Replace an existing Onsets.txt whole, dropping its corrections");
  AddMaxSamplesOption(sub, o->request.maxSamples);
  sub->add_option("-j,--jobs", o->request.jobs,
                  "Threads working on files (default: every core); the file does not depend on it")
      ->transform(JobCountCheck());
  return Command{sub, [o]() { return RunOnsets(*o); }};
}

}  // namespace plexo::cli
