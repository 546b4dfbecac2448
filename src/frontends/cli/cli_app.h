#pragma once
// The plexo command line: one subcommand per calculation, options defaulting from the setup
// file, messages on standard error, exit status 0 only when the calculation did its job.
#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

#include "frontends/cli/cli_settings.h"
#include "frontends/cli/exit_status.h"
#include "platform/host.h"

namespace plexo::cli {

// Options every subcommand shares.
struct CommonOptions {
  bool show = false;   // open the preview windows and wait for a key in each
  bool quiet = false;  // -q: no progress bar and nothing on standard output; errors still shown
  bool no_preview = false;  // --no-preview: the preview images are not written
  std::string setup_file;   // --setup FILE; empty when not given
  // The settings the command starts from, loaded before the command runs (see
  // LoadSettingsForCommand); flags of the command override them.
  CommandLineSettings settings;
};

// The settings for a run: from --setup FILE, else the program's "Setup.ini" when it exists,
// else the defaults. False with `error` set when --setup names a file that cannot be read.
bool LoadSettingsForCommand(const CommonOptions& common, CommandLineSettings& out,
                            std::string& error);

// Each subcommand registers itself and returns the action to run when it was chosen.
using CommandAction = std::function<int()>;
struct Command {
  CLI::App* app = nullptr;
  CommandAction run;
};

Command AddFftCommand(CLI::App& app, CommonOptions& common);
Command AddTftCommand(CLI::App& app, CommonOptions& common);
Command AddAvgFftCommand(CLI::App& app, CommonOptions& common);
Command AddAvgTftCommand(CLI::App& app, CommonOptions& common);
Command AddConvolveCommand(CLI::App& app, CommonOptions& common);
Command AddDeconvolveCommand(CLI::App& app, CommonOptions& common);
Command AddAsciiCommand(CLI::App& app, CommonOptions& common);
Command AddLocationsCommand(CLI::App& app, CommonOptions& common);
Command AddFeaturesCommand(CLI::App& app, CommonOptions& common);
Command AddOnsetsCommand(CLI::App& app, CommonOptions& common);
Command AddImportCommand(CLI::App& app, CommonOptions& common);
Command AddViewCommand(CLI::App& app, CommonOptions& common);

// Runs the command line; returns the process exit status. `start_desktop` is called when no
// subcommand is given (null when the desktop is not built).
int RunCommandLine(int argc, char** argv, const std::function<int(int, char**)>& start_desktop);

}  // namespace plexo::cli
