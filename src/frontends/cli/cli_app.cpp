#include "frontends/cli/cli_app.h"

#include <iostream>

#include "platform/image_window.h"
#include "platform/setup_location.h"
#include "plexo_version.h"

namespace plexo::cli {

int ExitStatus(CalcStatus status) {
  switch (status) {
    case CalcStatus::kDone:
      return 0;
    case CalcStatus::kRefused:
      return 1;
    case CalcStatus::kStopped:
      return 3;
    case CalcStatus::kFailed:
      return 2;
  }
  return 2;
}

int RunCommandLine(int argc, char** argv, const std::function<int(int, char**)>& start_desktop) {
  CLI::App app{
      "PLEXO++: acoustic-emission waveform analysis.\n"
      "Waveform files are ASCII: nine header lines (sample interval, channel, time of test, ...)\n"
      "then one sample per line. Results are written beside the input file, or into a subfolder\n"
      "of the input folder for folder calculations.\n"
      "Without a command the desktop opens (when a display is available).",
      "plexo"};
  app.require_subcommand(0, 1);
  app.set_version_flag("--version", std::string("plexo ") + PLEXO_VERSION,
                       "Print the version and exit");
  CommonOptions common;
  // A root option is accepted before the command name; fallthrough (inherited by the commands
  // added below) also passes it on when it follows the command's own arguments.
  app.add_option("--setup", common.setup_file,
                 "Setup file (.ini) to take the calculation settings from instead of\n"
                 "Setup.ini; only read, never written. Before or after the command.")
      ->type_name("FILE")
      ->configurable(false);
  app.fallthrough();
  const auto setup_footer = [&common]() {
    return SetupFileHelpLine(common.setup_file, SetupIniPath());
  };
  app.footer(setup_footer);

  std::vector<Command> commands;
  // The commands that draw previews: --show opens them.
  for (Command command :
       {AddFftCommand(app, common), AddTftCommand(app, common), AddAvgFftCommand(app, common),
        AddAvgTftCommand(app, common), AddViewCommand(app, common)}) {
    command.app->add_flag("--show", common.show,
                          "Show each preview in a window and wait for a key there");
    commands.push_back(command);
  }
  commands.push_back(AddConvolveCommand(app, common));
  commands.push_back(AddDeconvolveCommand(app, common));
  commands.push_back(AddAsciiCommand(app, common));
  commands.push_back(AddLocationsCommand(app, common));
  commands.push_back(AddFeaturesCommand(app, common));
  for (auto& command : commands) command.app->footer(setup_footer);
  commands.push_back(AddImportCommand(app, common));  // reads no setup file

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  }

  for (auto& command : commands) {
    if (!command.app->parsed()) continue;
    // Nothing is computed for previews that cannot be shown (plexo-desktop registers its window
    // before it runs a command with --show; without a usable display nobody does).
    if (common.show && !ImageViewerAvailable()) {
      std::cerr << "plexo: --show needs a display (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM) "
                   "that can be reached: no window can be shown, nothing was computed."
                << std::endl;
      return 1;
    }
    std::string error;
    if (!LoadSettingsForCommand(common, common.settings, error)) {
      std::cerr << error << std::endl;
      return 1;
    }
    return command.run();
  }
  if (start_desktop) return start_desktop(argc, argv);
  std::cerr << app.help() << std::endl;
  std::cerr << "No command given and no desktop available." << std::endl;
  return 1;
}

}  // namespace plexo::cli
