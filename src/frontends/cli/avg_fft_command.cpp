// plexo avg-fft DIR: the Average FFT of a folder of waveform files.
#include <iostream>
#include <memory>
#include <thread>

#include "frontends/cli/cli_app.h"
#include "frontends/cli/distributed_runs.h"
#include "frontends/cli/folder_batch_output.h"
#include "frontends/cli/input_paths.h"
#include "frontends/cli/job_count_option.h"
#include "frontends/cli/progress_bar.h"
#include "frontends/cli/table_format_option.h"
#include "platform/file_system.h"
#include "platform/headless_host.h"
#include "signal/number_text.h"
#include "signal/waveform_database.h"
#include "spectral/average_fft.h"
#include "spectral/batch_file_refusal.h"
#include "spectral/time_gate.h"

namespace plexo::cli {
namespace {

struct AvgFftOptions {
  std::string folder;
  std::string window = "none";
  bool window_given = false;  // else the setup file's window choice
  int jobs = 0;
  bool strict = false;
  std::string format;  // txt or csv
};

int RunAvgFft(const AvgFftOptions& options, const CommonOptions& common) {
  // Under an MPI launch only the first rank talks to the user.
  const DistributedRuns* ranks = InstalledDistributedRuns();
  const bool talks = ranks == nullptr || ranks->root;
  if (const std::optional<int> refused = RefuseBatchInput(options.folder, talks)) return *refused;
  AllNotesHost host(common.show);
  auto workspace = std::make_unique<AverageFftWorkspace>();
  workspace->strict = options.strict;
  workspace->tableFormat = TableFormatNamed(options.format);
  workspace->writePreview = !common.no_preview;
  host.notes = &workspace->notes;
  CalcStatus status;
  {
    TerminalProgressBar bar("avg-fft");
    NullProgress silent;
    int window = options.window == "200us" ? kFftWindow200us : kFftWindowNone;
    if (!options.window_given)
      window = TruncateToInt(common.settings.settings.fftWindow) == kFftWindow200us
                   ? kFftWindow200us
                   : kFftWindowNone;
    status = ranks != nullptr && ranks->averageFft
                 ? ranks->averageFft(*workspace, options.folder, window,
                                     talks ? static_cast<CalcProgress&>(bar) : silent, host,
                                     options.jobs)
                 : AverageFFT(*workspace, options.folder, window, bar, host, options.jobs);
  }
  if (!talks) return ExitStatus(status);
  switch (status) {
    case CalcStatus::kDone:
      std::cout << "Averaged " << workspace->averaged << " " << BatchInputItems(options.folder)
                << SkippedFilesText(workspace->skipped) << "\nWrote "
                << AverageFftTablePath(options.folder, workspace->tableFormat) << "\n";
      if (!common.no_preview)
        std::cout << "Wrote " << AverageFftPreviewPath(options.folder) << "\n";
      std::cout << std::flush;
      break;
    case CalcStatus::kRefused:
      // The notes on skipped files are one message; any other message said why already.
      if (host.MessageCount() == (workspace->notes.Empty() ? 0 : 1))
        std::cerr << "No waveform data in the "
                  << (IsWaveformDatabasePath(options.folder) ? "records" : "*.txt files") << " of "
                  << options.folder << ": no table written." << std::endl;
      break;
    case CalcStatus::kStopped:
      std::cerr << "Stopped: no table written." << std::endl;
      break;
    case CalcStatus::kFailed:
      std::cerr << "The results could not be written into " << AverageFftFolder(options.folder)
                << std::endl;
      break;
  }
  return ExitStatus(status);
}

}  // namespace

Command AddAvgFftCommand(CLI::App& app, CommonOptions& common) {
  auto* sub = app.add_subcommand(
      "avg-fft",
      "Average FFT of the waveform files (*.txt) of a folder: writes "
      "DIR/avgFFTData/average_FFT.txt\n"
      "(per bin: frequency, mean real and imaginary part, mean magnitude, its standard deviation,\n"
      "minimum and maximum; with --format csv average_FFT.csv instead) and\n"
      "DIR/avgFFTData/average_FFT_preview.bmp. DIR may be a waveform database DB.tradb: its\n"
      "records are read directly, in TRAI order, and the results go to DB_avgFFTData beside it.");
  auto options = std::make_shared<AvgFftOptions>();
  sub->add_option("DIR", options->folder,
                  "Folder of waveform files, or a waveform database (.tradb)")
      ->required();
  auto* window =
      sub->add_option("--window", options->window,
                      "Time gate before each transform: none, or 200us (keep 240 to 340 us);\n"
                      "default: the setup file's window function")
          ->check(CLI::IsMember({"none", "200us"}));
  sub->add_option("-j,--jobs", options->jobs,
                  "Threads reading and transforming the files (default: every core); the table "
                  "does not depend on it")
      ->transform(JobCountCheck());
  sub->add_flag("--strict", options->strict, kStrictHelp);
  AddTableFormatOption(sub, options->format, "average_FFT");
  Command command;
  command.app = sub;
  command.run = [options, window, &common]() {
    options->window_given = window->count() > 0;
    return RunAvgFft(*options, common);
  };
  return command;
}

}  // namespace plexo::cli
