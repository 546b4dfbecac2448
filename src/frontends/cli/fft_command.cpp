// plexo fft FILE...: the Single FFT of each waveform file.
#include <iostream>
#include <memory>
#include <vector>

#include "frontends/cli/cli_app.h"
#include "frontends/cli/file_batch.h"
#include "frontends/cli/input_arguments.h"
#include "frontends/cli/input_paths.h"
#include "frontends/cli/job_count_option.h"
#include "frontends/cli/max_samples_option.h"
#include "frontends/cli/progress_bar.h"
#include "platform/headless_host.h"
#include "spectral/single_fft.h"

namespace plexo::cli {
namespace {

struct FftOptions {
  std::vector<std::string> files;
  int jobs = 0;
  int maxSamples = MAX_SAMPLES;
};

void ReportWritten(const std::string& file, bool preview) {
  std::cout << "Wrote " << FftFilePath(file) << "\n";
  if (preview) std::cout << "Wrote " << FftPreviewPath(file) << "\n";
  std::cout << std::flush;
}

std::unique_ptr<SingleFftWorkspace> MakeWorkspace(const FftOptions& o,
                                                  const CommonOptions& common) {
  auto workspace = std::make_unique<SingleFftWorkspace>();
  workspace->writePreview = !common.no_preview;
  workspace->maxSamples = o.maxSamples;
  return workspace;
}

int RunFft(const FftOptions& o, const CommonOptions& common) {
  HeadlessHost host(common.show);
  // A file that cannot be read gets one message, naming it, and no calculation.
  int unreadable = 0;
  const std::vector<std::string> files = ReadableFiles(o.files, unreadable);
  if (files.size() == 1) {
    const CalcStatus status = SingleFFT(*MakeWorkspace(o, common), files[0], 0, host);
    if (status == CalcStatus::kDone) ReportWritten(files[0], !common.no_preview);
    return unreadable != 0 ? unreadable : ExitStatus(status);
  }
  if (files.empty()) return unreadable;
  std::vector<std::unique_ptr<SingleFftWorkspace>> workspaces(
      FileBatchWorkers(files.size(), o.jobs));
  TerminalProgressBar bar("fft");
  BarFinishingHost bar_host(host, bar);
  const FileBatchResult result = RunFileBatch(
      files, o.jobs, bar_host, bar,
      [&](size_t worker, const std::string& file, Host& file_host) {
        if (!workspaces[worker]) workspaces[worker] = MakeWorkspace(o, common);
        return SingleFFT(*workspaces[worker], file, 0, file_host);
      },
      [&](const std::string& file) {
        bar.Clear();
        ReportWritten(file, !common.no_preview);
      });
  bar.Finish();
  return unreadable != 0 ? unreadable : result.ExitCode();
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
  AddWaveformFilesArgument(*sub, o->files);
  sub->add_option("-j,--jobs", o->jobs,
                  "Files calculated at the same time (default: one per core); results do not\n"
                  "depend on it")
      ->transform(JobCountCheck());
  AddMaxSamplesOption(sub, o->maxSamples);
  return Command{sub, [o, &common]() { return RunFft(*o, common); }};
}

}  // namespace plexo::cli
