#pragma once
// The settings a command-line run starts from: the setup file named with --setup, else the
// program's "Setup.ini" when there is one, else the settings of a fresh setup. The command
// line only reads setup files; it never writes one.
#include <string>

#include "signal/calc_settings.h"

namespace plexo::cli {

struct CommandLineSettings {
  CalcSettings settings;
  std::string fftPath;
  std::string wtPath;
  std::string hwPath;
  std::string source;  // the setup file the values came from; empty for the defaults
};

// Fills `out` as described above. `setup_option` is the --setup value (empty when not given);
// `default_setup` is the program's "Setup.ini". False, with `error` set, only when --setup names
// a file that cannot be read or holds no setup line at all, or when the setup file in use holds
// a value the command line would refuse as an option ([WT-Size] of -5 or "1e3x", naming the
// key); a missing or unreadable default file gives the defaults.
bool LoadCommandLineSettings(const std::string& setup_option, const std::string& default_setup,
                             CommandLineSettings& out, std::string& error);

// The line of the help text that says which setup file a run would use.
std::string SetupFileHelpLine(const std::string& setup_option, const std::string& default_setup);

}  // namespace plexo::cli
