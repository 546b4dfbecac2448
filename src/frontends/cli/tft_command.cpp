// plexo tft FILE...: the Single TFT of each waveform file, by the wavelet transform or the smoothed
// pseudo Wigner-Ville distribution. Values start from the setup file as the Options dialog
// shows them; flags override them; the dialog's validation runs before the calculation.
#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "frontends/cli/cli_app.h"
#include "frontends/cli/file_batch.h"
#include "frontends/cli/input_arguments.h"
#include "frontends/cli/input_paths.h"
#include "frontends/cli/job_count_option.h"
#include "frontends/cli/progress_bar.h"
#include "frontends/cli/tft_options.h"
#include "platform/file_system.h"
#include "platform/headless_host.h"
#include "platform/job_count.h"
#include "signal/waveform.h"
#include "timefreq/cwt.h"
#include "timefreq/spwvd.h"
#include "timefreq/tft_file.h"
#include "timefreq/tft_request.h"

namespace plexo::cli {
namespace {

struct TftOptions {
  std::vector<std::string> files;
  TftGridOptions grid;
  int jobs = 0;
};

// One calculation's workspaces; the one of the chosen method is made on first use.
struct TftWorkspaces {
  std::unique_ptr<CwtWorkspace> cwt;
  std::unique_ptr<SpwvdWorkspace> spwvd;
};

CalcStatus RunOneTft(TftWorkspaces& ws, bool wigner_ville, TftRequest request,
                     const std::string& file, int jobs, bool preview, CalcProgress& progress,
                     Host& host) {
  request.path = file;
  CalcStatus status;
  int count = 0;  // sample lines of the file
  if (wigner_ville) {
    if (!ws.spwvd) ws.spwvd = std::make_unique<SpwvdWorkspace>();
    ws.spwvd->jobs = jobs;
    ws.spwvd->writePreview = preview;
    status = CalcSingleSpwvd(*ws.spwvd, request, progress, host);
    count = ws.spwvd->waveform.count;
  } else {
    if (!ws.cwt) ws.cwt = std::make_unique<CwtWorkspace>();
    ws.cwt->jobs = jobs;
    ws.cwt->writePreview = preview;
    status = CalcSingleCwt(*ws.cwt, request, progress, host);
    count = ws.cwt->waveform.count;
  }
  // The calculation ran on the samples the reader stored; the user should know the rest was cut.
  if (status != CalcStatus::kRefused && count > MAX_SAMPLES) {
    std::cerr << "Only the first " << MAX_SAMPLES << " of the " << count << " samples of " << file
              << " were used." << std::endl;
  }
  return status;
}

int RunTft(const TftOptions& o, const CommonOptions& common) {
  HeadlessHost headless(common.show);
  const TftRequest request = TftRequestFor(o.grid, common.settings.settings);
  if (!TftGridIsConsistent(request)) {
    headless.MessageBox(kInvalidGridMessage);
    return ExitStatus(CalcStatus::kRefused);
  }
  const bool wigner_ville = UsesWignerVille(o.grid, common.settings.settings);
  const bool table = TftTableWanted(request.output);
  const std::string suffix = wigner_ville ? "_spvwd" : "_wt";
  const auto report_written = [&](const std::string& file) {
    const std::string stem = PathWithoutExtension(file) + suffix;
    if (table) std::cout << "Wrote " << stem << LowerCaseExtension(file) << "\n";
    if (!common.no_preview) std::cout << "Wrote " << stem << "_preview.bmp\n";
    std::cout << std::flush;
  };
  TerminalProgressBar progress(o.files.size() == 1 ? (wigner_ville ? "spwvd" : "cwt") : "tft");
  BarFinishingHost host(headless, progress);
  // A file that cannot be read gets one message, naming it, and no calculation.
  int unreadable = 0;
  const std::vector<std::string> files = ReadableFiles(o.files, unreadable);
  const bool preview = !common.no_preview;
  if (files.size() == 1) {
    TftWorkspaces ws;
    const CalcStatus status =
        RunOneTft(ws, wigner_ville, request, files[0], o.jobs, preview, progress, host);
    progress.Finish();
    if (status == CalcStatus::kDone) report_written(files[0]);
    return unreadable != 0 ? unreadable : ExitStatus(status);
  }
  if (files.empty()) return unreadable;
  // Files run side by side; the threads left over share each file's rows or columns.
  const size_t workers = FileBatchWorkers(files.size(), o.jobs);
  const int jobs_per_file = std::max(1, JobCount(o.jobs) / static_cast<int>(workers));
  std::vector<TftWorkspaces> workspaces(workers);
  const FileBatchResult result = RunFileBatch(
      files, o.jobs, host, progress,
      [&](size_t worker, const std::string& file, Host& file_host) {
        NullProgress quiet;
        return RunOneTft(workspaces[worker], wigner_ville, request, file, jobs_per_file, preview,
                         quiet, file_host);
      },
      [&](const std::string& file) {
        progress.Clear();
        report_written(file);
      });
  progress.Finish();
  return unreadable != 0 ? unreadable : result.ExitCode();
}

}  // namespace

Command AddTftCommand(CLI::App& app, CommonOptions& common) {
  auto* sub = app.add_subcommand(
      "tft",
      "Single TFT of each waveform file: the Gabor wavelet transform (writes <name>_wt.txt and\n"
      "<name>_wt_preview.bmp) or the smoothed pseudo Wigner-Ville distribution (<name>_spvwd.txt\n"
      "and <name>_spvwd_preview.bmp), beside the input. Values not given come from the setup\n"
      "file. Several files are calculated in parallel; each is reported on its own, and the\n"
      "exit status is 0 only when every file was done.");
  auto o = std::make_shared<TftOptions>();
  AddWaveformFilesArgument(*sub, o->files);
  AddTftGridOptions(*sub, o->grid);
  sub->add_option(
         "-j,--jobs", o->jobs,
         "Threads (default: one per core): several files run side by side, and the threads\n"
         "left over compute each file's wavelet rows or Wigner-Ville columns; results do not\n"
         "depend on it")
      ->transform(JobCountCheck());
  return Command{sub, [o, &common]() { return RunTft(*o, common); }};
}

}  // namespace plexo::cli
