#include "frontends/cli/cli_settings.h"

#include "frontends/cli/cli_app.h"
#include "platform/file_system.h"
#include "platform/setup_location.h"
#include "signal/setup_file.h"

namespace plexo::cli {

bool LoadCommandLineSettings(const std::string& setup_option, const std::string& default_setup,
                             CommandLineSettings& out, std::string& error) {
  out = CommandLineSettings{};
  if (!setup_option.empty()) {
    int keys = 0;
    if (!LoadSetup(out.settings, out.fftPath, out.wtPath, out.hwPath, setup_option, &keys)) {
      // A half-read file must not pass for settings the user chose.
      std::string reason = WhyNotReadable(setup_option);
      if (reason.empty()) reason = "read error";
      out = CommandLineSettings{};
      error = "Cannot read the setup file \"" + setup_option + "\": " + reason + ".";
      return false;
    }
    // An empty, binary or tab-less file would silently give the defaults instead of the
    // settings the user meant to name.
    if (keys == 0) {
      out = CommandLineSettings{};
      error = "The setup file \"" + setup_option +
              "\" holds no setup line (\"[KEY]<TAB>value\"): it is not a setup file.";
      return false;
    }
    out.source = setup_option;
    return true;
  }
  CommandLineSettings loaded;
  if (LoadSetup(loaded.settings, loaded.fftPath, loaded.wtPath, loaded.hwPath, default_setup)) {
    out = std::move(loaded);
    out.source = default_setup;
  }
  return true;
}

std::string SetupFileHelpLine(const std::string& setup_option, const std::string& default_setup) {
  if (!setup_option.empty()) {
    return "Setup file in use: " + setup_option +
           (IsRegularFile(setup_option) ? " (from --setup)." : " (from --setup; cannot be read).");
  }
  if (IsRegularFile(default_setup)) return "Setup file in use: " + default_setup + ".";
  return "Setup file in use: none (" + default_setup +
         " does not exist yet; the built-in defaults apply).";
}

bool LoadSettingsForCommand(const CommonOptions& common, CommandLineSettings& out,
                            std::string& error) {
  return LoadCommandLineSettings(common.setup_file, SetupIniPath(), out, error);
}

}  // namespace plexo::cli
