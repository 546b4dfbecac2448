// plexo convolve / deconvolve DIR --transfer FILE: a folder of waveforms through a transfer
// function.
#include <iostream>
#include <memory>

#include "frontends/cli/cli_app.h"
#include "frontends/cli/folder_batch_output.h"
#include "frontends/cli/input_arguments.h"
#include "frontends/cli/input_paths.h"
#include "frontends/cli/max_samples_option.h"
#include "frontends/cli/number_option.h"
#include "frontends/cli/progress_bar.h"
#include "platform/file_system.h"
#include "platform/headless_host.h"
#include "signal/number_text.h"
#include "spectral/batch_file_refusal.h"
#include "spectral/convolution.h"

namespace plexo::cli {
namespace {

// Tells the path message of the columns output from a refusal.
class LastMessageHost : public AllNotesHost {
 public:
  void MessageBox(std::string_view text) override {
    last = text;
    AllNotesHost::MessageBox(text);
  }
  std::string last;
};

struct ConvolveOptions {
  std::string folder;
  std::string transfer;
  int precision = 14;
  std::string output = "single";
  bool strict = false;
  int maxSamples = MAX_SAMPLES;
};

int RunConvolve(const ConvolveOptions& options, TransferOperation operation,
                const std::string& name) {
  if (options.transfer.empty()) {
    std::cerr << "No transfer-function file: give --transfer FILE (or set [HW-Path] in the "
                 "setup file)."
              << std::endl;
    return ExitStatus(CalcStatus::kRefused);
  }
  if (const std::optional<int> refused = RefuseInputFolder(options.folder)) return *refused;
  if (const std::optional<int> refused = RefuseInputFile(options.transfer)) return *refused;
  LastMessageHost host;
  auto workspace = std::make_unique<ConvolutionWorkspace>();
  workspace->strict = options.strict;
  workspace->maxSamples = options.maxSamples;
  host.notes = &workspace->notes;
  const bool columns = options.output == "columns";
  CalcStatus status;
  {
    TerminalProgressBar bar(name);
    status = ApplyTransferFunction(
        *workspace, options.folder, options.precision, options.transfer, operation,
        columns ? ConvolutionOutput::kColumnsFile : ConvolutionOutput::kWaveformFiles, bar, host);
  }
  // A run that reaches its end shows no message but the notes on skipped inputs and the columns
  // file's path.
  const int others = host.MessageCount() - (workspace->notes.Empty() ? 0 : 1) -
                     (columns && host.last == ColumnsFilePath(options.folder) ? 1 : 0);
  const bool reached_end = others == 0;
  if (status == CalcStatus::kDone) {
    if (columns) {
      std::cout << "Wrote " << ColumnsFilePath(options.folder) << " (" << workspace->processed
                << " waveforms)" << SkippedFilesText(workspace->skipped) << std::endl;
    } else {
      std::cout << "Wrote " << workspace->written << " waveform files into "
                << ProcessedFolder(options.folder) << SkippedFilesText(workspace->skipped)
                << std::endl;
    }
  } else if (status == CalcStatus::kRefused && reached_end) {
    std::cerr << "No waveform data in the *.txt files of " << options.folder
              << ": nothing processed." << std::endl;
  } else if (status == CalcStatus::kFailed) {
    std::cerr << "Some results could not be written into " << ProcessedFolder(options.folder)
              << std::endl;
  }
  return ExitStatus(status);
}

Command AddTransferCommand(CLI::App& app, CommonOptions& common, const std::string& name,
                           TransferOperation operation, const std::string& description) {
  auto* sub = app.add_subcommand(name, description);
  auto options = std::make_shared<ConvolveOptions>();
  AddWaveformFolderArgument(*sub, options->folder);
  auto* transfer = sub->add_option(
      "--transfer", options->transfer,
      "Transfer-function file: a title line, then 2^P lines \"real<TAB>imaginary\", bin 0 "
      "first;\ndefault: the setup file's [HW-Path]");
  auto* precision =
      sub->add_option(
             "--precision", options->precision,
             "Exponent P of the transform size (2^P points, 0 to 14, up to 20 with a raised\n"
             "--max-samples: 2^P at most the power of two that holds that many samples);\n"
             "default: the setup file's [FFT-Precision]")
          ->transform(IntegerCheck());
  auto* output = sub->add_option("--output", options->output,
                                 "single: one waveform file per input in DIR/procData; columns: "
                                 "all waveforms as columns of DIR/procData/DuvidiWaveforms.txt;\n"
                                 "default: the setup file's output format")
                     ->check(CLI::IsMember({"single", "columns"}));
  sub->add_flag("--strict", options->strict, kStrictHelp);
  AddMaxSamplesOption(sub, options->maxSamples);
  return Command{
      sub, [options, operation, name, transfer, precision, output, &common]() {
        const CommandLineSettings& setup = common.settings;
        if (transfer->count() == 0) options->transfer = setup.hwPath;
        if (precision->count() == 0)
          options->precision = TruncateToInt(setup.settings.fftPrecision);
        if (output->count() == 0)
          options->output = TruncateToInt(setup.settings.fftOutputType) == 1 ? "columns" : "single";
        if (options->transfer.empty()) {
          std::cerr << "No transfer function given: name its file with --transfer FILE (or as "
                       "[HW-Path] in the setup file)."
                    << std::endl;
          return ExitStatus(CalcStatus::kRefused);
        }
        return RunConvolve(*options, operation, name);
      }};
}

}  // namespace

Command AddConvolveCommand(CLI::App& app, CommonOptions& common) {
  return AddTransferCommand(
      app, common, "convolve", TransferOperation::kConvolution,
      "Convolution of every waveform file (*.txt) of a folder with a transfer function (spectrum\n"
      "multiplied bin by bin); results in DIR/procData.");
}

Command AddDeconvolveCommand(CLI::App& app, CommonOptions& common) {
  return AddTransferCommand(
      app, common, "deconvolve", TransferOperation::kDeconvolution,
      "Deconvolution of every waveform file (*.txt) of a folder by a transfer function (spectrum\n"
      "divided bin by bin, no regularisation: a zero bin makes the result NaN); results in\n"
      "DIR/procData.");
}

}  // namespace plexo::cli
