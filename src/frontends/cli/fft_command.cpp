// plexo fft FILE...: the Single FFT of each waveform file.
#include <iostream>
#include <memory>
#include <vector>

#include "frontends/cli/cli_app.h"
#include "frontends/cli/file_batch.h"
#include "frontends/cli/job_count_option.h"
#include "frontends/cli/progress_bar.h"
#include "platform/headless_host.h"
#include "spectral/single_fft.h"

namespace plexo::cli {
namespace {

struct FftOptions {
  std::vector<std::string> files;
  int jobs = 0;
};

void ReportWritten(const std::string& file) {
  std::cout << "Wrote " << FftFilePath(file) << "\n"
            << "Wrote " << FftPreviewPath(file) << std::endl;
}

int RunFft(const FftOptions& o, const CommonOptions& common) {
  HeadlessHost host(common.show);
  NameUnreadableFiles(o.files);
  if (o.files.size() == 1) {
    auto workspace = std::make_unique<SingleFftWorkspace>();
    const CalcStatus status = SingleFFT(*workspace, o.files[0], 0, host);
    if (status == CalcStatus::kDone) ReportWritten(o.files[0]);
    return ExitStatus(status);
  }
  std::vector<std::unique_ptr<SingleFftWorkspace>> workspaces(
      FileBatchWorkers(o.files.size(), o.jobs));
  TerminalProgressBar bar("fft");
  BarFinishingHost bar_host(host, bar);
  const FileBatchResult result = RunFileBatch(
      o.files, o.jobs, bar_host, bar,
      [&](size_t worker, const std::string& file, Host& file_host) {
        if (!workspaces[worker]) workspaces[worker] = std::make_unique<SingleFftWorkspace>();
        return SingleFFT(*workspaces[worker], file, 0, file_host);
      },
      [&](const std::string& file) {
        bar.Finish();
        ReportWritten(file);
      });
  bar.Finish();
  return result.ExitCode();
}

}  // namespace

Command AddFftCommand(CLI::App& app, CommonOptions& common) {
  auto* sub = app.add_subcommand(
      "fft",
      "Single FFT of each waveform file: writes <name>_fft.txt (frequency, real and imaginary\n"
      "part of the unscaled spectrum per bin) and <name>_fft_preview.bmp beside the input.\n"
      "Several files are calculated in parallel; each is reported on its own, and the exit\n"
      "status is 0 only when every file was done.");
  auto o = std::make_shared<FftOptions>();
  sub->add_option("FILE", o->files, "Waveform files (extension .txt in any letter case)")
      ->required();
  sub->add_option("--jobs", o->jobs,
                  "Files calculated at the same time (default: one per core); results do not\n"
                  "depend on it")
      ->transform(JobCountCheck());
  Command command;
  command.app = sub;
  command.run = [o, &common]() { return RunFft(*o, common); };
  return command;
}

}  // namespace plexo::cli
