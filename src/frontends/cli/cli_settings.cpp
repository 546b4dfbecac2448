#include "frontends/cli/cli_settings.h"

#include "frontends/cli/cli_app.h"
#include "platform/file_system.h"
#include "platform/setup_location.h"
#include "signal/number_text.h"
#include "signal/setup_file.h"

namespace plexo::cli {
namespace {

// A setup value the calculation cannot use is refused with its key, as its option would be:
// a number that is not wholly one, or a count or resolution out of its option's range.
std::string SetupValuesProblem(const std::string& path, const CalcSettings& s) {
  std::string text;
  if (ReadRegularFile(path, text, size_t{1} << 24) != RegularFileRead::kRead) return {};
  std::string problem = SetupNumberProblem(text);
  const auto at_least_one = [&](const char* key, double value) {
    if (problem.empty() && !(value >= 1.0))
      problem = std::string(key) + " value " + FormatD(TruncateToInt(value)) +
                " is not allowed: give a whole number >= 1";
  };
  const auto positive = [&](const char* key, double value) {
    if (problem.empty() && !(value > 0.0))
      problem =
          std::string(key) + " value " + FormatE(value) + " is not allowed: give a number > 0";
  };
  at_least_one("[WT-Size]", s.wtSize);
  at_least_one("[CWD-Size]", s.cwdSize);
  at_least_one("[CWD-Sigma]", s.cwdSigma);
  positive("[WT-TimeRes]", s.timeRes);
  positive("[WT-FreqRes]", s.freqRes);
  if (problem.empty()) return {};
  return "The setup file \"" + path + "\": " + problem + ".";
}

}  // namespace

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
    if (std::string problem = SetupValuesProblem(setup_option, out.settings); !problem.empty()) {
      out = CommandLineSettings{};
      error = problem;
      return false;
    }
    out.source = setup_option;
    return true;
  }
  CommandLineSettings loaded;
  if (LoadSetup(loaded.settings, loaded.fftPath, loaded.wtPath, loaded.hwPath, default_setup)) {
    if (std::string problem = SetupValuesProblem(default_setup, loaded.settings);
        !problem.empty()) {
      error = problem;
      return false;
    }
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
