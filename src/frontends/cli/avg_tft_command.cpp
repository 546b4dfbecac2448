// plexo avg-tft DIR: the Average TFT of a folder of waveform files, by the wavelet transform or
// the smoothed pseudo Wigner-Ville distribution of the average waveform. Values start from the
// setup file as the Options dialog shows them; options override them; the dialog's validation
// runs before the calculation.
#include <iostream>
#include <memory>
#include <string>

#include "frontends/cli/cli_app.h"
#include "frontends/cli/folder_batch_output.h"
#include "frontends/cli/input_paths.h"
#include "frontends/cli/job_count_option.h"
#include "frontends/cli/number_option.h"
#include "frontends/cli/progress_bar.h"
#include "frontends/cli/tft_options.h"
#include "platform/file_system.h"
#include "platform/headless_host.h"
#include "signal/calc_settings.h"
#include "signal/number_text.h"
#include "spectral/batch_file_refusal.h"
#include "timefreq/average_tft_methods.h"
#include "timefreq/cwt.h"
#include "timefreq/spwvd.h"
#include "timefreq/tft_file.h"

namespace plexo::cli {
namespace {

struct AvgTftOptions {
  std::string folder;
  TftGridOptions grid;
  double threshold = 0;
  bool align = false;
  int jobs = 0;
  bool strict = false;
  CLI::Option* thresholdGiven = nullptr;
  CLI::Option* alignGiven = nullptr;
};

int RunAvgTft(const AvgTftOptions& o, const CommonOptions& common) {
  AllNotesHost host(common.show);
  const CalcSettings& settings = common.settings.settings;
  TftRequest grid = TftRequestFor(o.grid, settings);
  grid.path = o.folder;
  // The dialog shows the threshold as a "%.4f" text and parses what it shows.
  const double threshold = o.thresholdGiven->count() > 0
                               ? o.threshold
                               : DialogTextToValue(DialogTextThreshold(settings.threshold));
  const bool align = o.alignGiven->count() > 0 ? o.align : settings.autoRoi != 0;
  if (!TftGridIsConsistent(grid)) {
    host.MessageBox(std::string(kInvalidGridMessage) + "\n" + TftGridProblem(grid));
    return ExitStatus(CalcStatus::kRefused);
  }
  if (const std::optional<int> refused = RefuseBatchInput(o.folder)) return *refused;
  const bool wigner_ville = UsesWignerVille(o.grid, settings);
  auto average = std::make_unique<AverageTftWorkspace>();
  average->strict = o.strict;
  host.notes = &average->notes;
  CalcStatus status;
  {
    TerminalProgressBar bar("avg-tft");
    BarFinishingHost bar_host(host, bar);
    if (wigner_ville) {
      auto workspace = std::make_unique<SpwvdWorkspace>();
      workspace->jobs = o.jobs;
      workspace->writePreview = !common.no_preview;
      status =
          CalcAverageSpwvd(*average, *workspace, o.folder, grid, threshold, align, bar, bar_host);
    } else {
      auto workspace = std::make_unique<CwtWorkspace>();
      workspace->jobs = o.jobs;
      workspace->writePreview = !common.no_preview;
      status =
          CalcAverageCwt(*average, *workspace, o.folder, grid, threshold, align, bar, bar_host);
    }
  }
  if (status == CalcStatus::kDone) {
    const std::string signal = AverageSignalPath(o.folder);
    const std::string stem = PathWithoutExtension(signal) + (wigner_ville ? "_spvwd" : "_wt");
    std::cout << "Averaged " << average->averaged << " " << BatchInputItems(o.folder)
              << SkippedFilesText(average->skipped) << "\nWrote " << signal << "\n";
    if (TftTableWanted(grid.output))
      std::cout << "Wrote " << stem << LowerCaseExtension(signal) << "\n";
    if (!common.no_preview) std::cout << "Wrote " << stem << "_preview.bmp\n";
    std::cout << std::flush;
  }
  return ExitStatus(status);
}

}  // namespace

Command AddAvgTftCommand(CLI::App& app, CommonOptions& common) {
  auto* sub = app.add_subcommand(
      "avg-tft",
      "Average TFT of the waveform files (*.txt) of a folder: averages the time-gated (and with\n"
      "--align, threshold-aligned) waveforms into DIR/avgWTData/average_signal.txt, then runs\n"
      "the wavelet transform (average_signal_wt.txt, average_signal_wt_preview.bmp) or the\n"
      "Wigner-Ville distribution (average_signal_spvwd.txt and its preview) on it. Values not\n"
      "given come from the setup file. DIR may be a waveform database DB.tradb: its records\n"
      "are read directly, in TRAI order, and the results go to DB_avgWTData beside it.");
  auto o = std::make_shared<AvgTftOptions>();
  sub->add_option("DIR", o->folder, "Folder of waveform files, or a waveform database (.tradb)")
      ->required();
  AddTftGridOptions(*sub, o->grid);
  o->thresholdGiven = sub->add_option("--threshold", o->threshold,
                                      "Amplitude whose first crossing (from sample 10 on) is moved "
                                      "one fifth into the time window")
                          ->check(NumberCheck());
  o->alignGiven = sub->add_flag("--align,!--no-align", o->align,
                                "Align every waveform on --threshold before averaging "
                                "(--no-align or --align=0: off)");
  sub->add_option("-j,--jobs", o->jobs,
                  "Threads of the transform (default: one per core); results do not depend on it")
      ->transform(JobCountCheck());
  sub->add_flag("--strict", o->strict, kStrictHelp);
  Command command;
  command.app = sub;
  command.run = [o, &common]() { return RunAvgTft(*o, common); };
  return command;
}

}  // namespace plexo::cli
