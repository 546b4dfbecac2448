// plexo fft FILE: the Single FFT of one waveform file.
#include <memory>

#include "frontends/cli/cli_app.h"
#include "platform/headless_host.h"
#include "spectral/single_fft.h"

namespace plexo::cli {

Command AddFftCommand(CLI::App& app, CommonOptions& common) {
  auto* sub = app.add_subcommand(
      "fft",
      "Single FFT of one waveform file: writes <name>_fft.txt (frequency, real and imaginary\n"
      "part of the unscaled spectrum per bin) and <name>_fft_preview.bmp beside the input.");
  auto file = std::make_shared<std::string>();
  sub->add_option("FILE", *file, "Waveform file (extension .txt in any letter case)")->required();
  Command command;
  command.app = sub;
  command.run = [file, &common]() {
    HeadlessHost host(common.show);
    auto workspace = std::make_unique<SingleFftWorkspace>();
    const CalcStatus status = SingleFFT(*workspace, *file, 0, host);
    if (status == CalcStatus::kDone) {
      std::cout << "Wrote " << FftFilePath(*file) << "\n"
                << "Wrote " << FftPreviewPath(*file) << std::endl;
    }
    return ExitStatus(status);
  };
  return command;
}

}  // namespace plexo::cli
