// plexo tft FILE: the Single TFT of one waveform file, by the wavelet transform or the smoothed
// pseudo Wigner-Ville distribution. Values start from the setup file as the Options dialog
// shows them; flags override them; the dialog's validation runs before the calculation.
#include <iostream>
#include <memory>
#include <string>

#include "frontends/cli/cli_app.h"
#include "frontends/cli/progress_bar.h"
#include "frontends/cli/tft_options.h"
#include "platform/file_system.h"
#include "platform/headless_host.h"
#include "signal/waveform.h"
#include "timefreq/cwt.h"
#include "timefreq/spwvd.h"
#include "timefreq/tft_request.h"

namespace plexo::cli {
namespace {

struct TftOptions {
  std::string file;
  TftGridOptions grid;
  int jobs = 0;
};

int RunTft(const TftOptions& o, const CommonOptions& common) {
  HeadlessHost headless(common.show);
  TftRequest request = TftRequestFor(o.grid, common.settings.settings);
  request.path = o.file;
  if (!TftGridIsConsistent(request)) {
    headless.MessageBox(kInvalidGridMessage);
    return ExitStatus(CalcStatus::kRefused);
  }
  const bool wigner_ville = UsesWignerVille(o.grid, common.settings.settings);
  const bool table = request.outputType == 'a' || request.outputType == 'c';
  TerminalProgressBar progress(wigner_ville ? "spwvd" : "cwt");
  BarFinishingHost host(headless, progress);
  CalcStatus status;
  std::string suffix;
  int count = 0;  // sample lines of the file
  if (wigner_ville) {
    auto workspace = std::make_unique<SpwvdWorkspace>();
    workspace->jobs = o.jobs;
    status = CalcSingleSpwvd(*workspace, request, progress, host);
    count = workspace->waveform.count;
    suffix = "_spvwd";
  } else {
    auto workspace = std::make_unique<CwtWorkspace>();
    workspace->jobs = o.jobs;
    status = CalcSingleCwt(*workspace, request, progress, host);
    count = workspace->waveform.count;
    suffix = "_wt";
  }
  progress.Finish();
  // The calculation ran on the samples the reader stored; the user should know the rest was cut.
  if (status != CalcStatus::kRefused && count > MAX_SAMPLES) {
    std::cerr << "Only the first " << MAX_SAMPLES << " of the " << count << " samples of " << o.file
              << " were used." << std::endl;
  }
  if (status == CalcStatus::kDone) {
    const std::string stem = PathWithoutExtension(o.file) + suffix;
    if (table) std::cout << "Wrote " << stem << LowerCaseExtension(o.file) << "\n";
    std::cout << "Wrote " << stem << "_preview.bmp" << std::endl;
  }
  return ExitStatus(status);
}

}  // namespace

Command AddTftCommand(CLI::App& app, CommonOptions& common) {
  auto* sub = app.add_subcommand(
      "tft",
      "Single TFT of one waveform file: the Gabor wavelet transform (writes <name>_wt.txt and\n"
      "<name>_wt_preview.bmp) or the smoothed pseudo Wigner-Ville distribution (<name>_spvwd.txt\n"
      "and <name>_spvwd_preview.bmp), beside the input. Values not given come from the setup\n"
      "file.");
  auto o = std::make_shared<TftOptions>();
  sub->add_option("FILE", o->file, "Waveform file (extension .txt in any letter case)")->required();
  AddTftGridOptions(*sub, o->grid);
  sub->add_option(
         "--jobs", o->jobs,
         "Threads computing the wavelet rows or Wigner-Ville columns (default: one per core);\n"
         "results do not depend on it")
      ->check(CLI::NonNegativeNumber);
  Command command;
  command.app = sub;
  command.run = [o, &common]() { return RunTft(*o, common); };
  return command;
}

}  // namespace plexo::cli
