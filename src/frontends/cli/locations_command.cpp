// plexo locations FORMAT FILE: a localisation listing converted into a plain x, y, z, t table.
#include <iostream>
#include <memory>

#include "ascii_ops/location_conversion.h"
#include "frontends/cli/cli_app.h"
#include "frontends/cli/input_paths.h"
#include "frontends/cli/progress_bar.h"
#include "platform/file_system.h"
#include "platform/headless_host.h"

namespace plexo::cli {
namespace {

struct LocationsOptions {
  std::string format;
  std::string file;
};

int RunLocations(const LocationsOptions& options) {
  if (const std::optional<int> refused = RefuseInputFile(options.file)) return *refused;
  HeadlessHost headless;
  CalcStatus status;
  {
    TerminalProgressBar bar("locations " + options.format);
    BarFinishingHost host(headless, bar);
    status = options.format == "aewin" ? ConvertAewinLocations(options.file, bar, host)
                                       : ConvertVisualAeLocations(options.file, bar, host);
  }
  switch (status) {
    case CalcStatus::kDone:
      std::cout << "Wrote " << LocationTablePath(options.file) << std::endl;
      break;
    case CalcStatus::kRefused:
    case CalcStatus::kStopped:
      std::cerr << "Nothing written." << std::endl;
      break;
    case CalcStatus::kFailed:
      std::cerr << "The listing could not be read or " << LocationTablePath(options.file)
                << " could not be written." << std::endl;
      break;
  }
  return ExitStatus(status);
}

}  // namespace

Command AddLocationsCommand(CLI::App& app, CommonOptions& /*common*/) {
  auto* sub = app.add_subcommand(
      "locations",
      "Convert a localisation listing (aewin or visualae export) into a table of x, y, z and\n"
      "time in seconds, one located event per line, written beside it as\n"
      "<name>_DV-compatibel.dat.");
  auto options = std::make_shared<LocationsOptions>();
  sub->add_option("FORMAT", options->format, "aewin or visualae")
      ->required()
      ->check(CLI::IsMember({"aewin", "visualae"}));
  sub->add_option("FILE", options->file, "The exported listing (.txt)")->required();
  return Command{sub, [options]() { return RunLocations(*options); }};
}

}  // namespace plexo::cli
