// plexo import FILE|DIR... --to DIR: other programs' waveform exports into waveform files.
#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <iostream>
#include <memory>

#include "frontends/cli/cli_app.h"
#include "frontends/cli/number_option.h"
#include "frontends/cli/progress_bar.h"
#include "import/waveform_import.h"
#include "signal/number_text.h"

namespace plexo::cli {
namespace {

struct ImportCommandOptions {
  ImportRequest request;
  double dt = 0.0;
  std::string units;
  int channel = 0;
  double time_of_test = 0.0;
};

int RunImport(ImportCommandOptions& options, const CLI::Option* dt, const CLI::Option* units,
              const CLI::Option* channel, const CLI::Option* time_of_test) {
  ImportOptions& given = options.request.options;
  if (dt->count() > 0) given.sampleInterval = options.dt;
  if (units->count() > 0) given.units = options.units;
  if (channel->count() > 0) given.channel = options.channel;
  if (time_of_test->count() > 0) given.timeOfTest = options.time_of_test;

  // An input that does not exist (or cannot be looked at) is named once, with the system's
  // reason.
  int missing = 0;
  for (const std::string& input : options.request.inputs) {
    struct stat info {};
    if (stat(input.c_str(), &info) != 0) {
      std::cerr << input << ": " << std::strerror(errno) << std::endl;
      missing = ExitStatus(ExitCode::kFileError);
    }
  }
  // As for any refused request, nothing is imported then.
  if (missing != 0) return missing;

  ImportSummary summary;
  CalcStatus status;
  {
    TerminalProgressBar bar("import");
    const auto log = [&bar](std::string_view line) {
      bar.Clear();
      std::cerr << line << std::endl;
    };
    const auto imported = [&bar](std::string_view line) {
      bar.Clear();
      std::cout << line << std::endl;
    };
    status = ImportWaveforms(options.request, bar, log, summary, imported);
  }
  if (summary.files > 0) {
    std::cout << "Imported " << summary.imported << " of " << summary.files << " files into "
              << options.request.target << std::endl;
  }
  if (summary.notReplaced > 0)
    std::cerr << "--force replaces files that exist in the target folder." << std::endl;
  return ExitStatus(status);
}

}  // namespace

Command AddImportCommand(CLI::App& app, CommonOptions& /*common*/) {
  auto* sub = app.add_subcommand(
      "import",
      "Imports waveform exports of acquisition software into waveform files: one file\n"
      "<stem>.txt per input in the target folder (nine header lines, one sample per line),\n"
      "which every calculation reads. Recognised from the first lines of each file:\n"
      "  - the nine-line waveform layout (copied, normalised);\n"
      "  - the twelve-line CSV export (header, a blank line, then time,volts rows: the volts\n"
      "    column is taken);\n"
      "  - a headerless column of samples: needs --dt; channel and time of test from the\n"
      "    options, else from a name <test>_<channel>_<hit>_<time of test in us>, else 1 and 0.\n"
      "Decimal commas, a UTF-8 byte-order mark and CR LF or LF line ends are accepted.");
  auto options = std::make_shared<ImportCommandOptions>();
  sub->add_option("FILE|DIR", options->request.inputs,
                  "Files to import, or folders whose .txt and .csv files are imported")
      ->required();
  sub->add_option("--to", options->request.target,
                  "Target folder (made when missing); not the folder of a folder input")
      ->type_name("DIR")
      ->required();
  auto* dt = sub->add_option("--dt", options->dt,
                             "Sample interval in seconds of headerless files (and of files "
                             "whose header gives none)")
                 ->type_name("SECONDS")
                 ->check(PositiveNumberCheck());
  auto* units = sub->add_option("--units", options->units,
                                "Amplitude units of headerless files (default " +
                                    std::string(kDefaultUnits) + ")")
                    ->type_name("TEXT")
                    ->check(CLI::Validator(
                        [](std::string& text) -> std::string {
                          // A line end here would write a second header line into every file.
                          for (unsigned char c : text) {
                            if (c < 0x20 || c == 0x7f)
                              return "--units must not hold control characters (tabs, line "
                                     "ends)";
                          }
                          return {};
                        },
                        "TEXT"));
  auto* channel =
      sub->add_option("--channel", options->channel, "Channel number of headerless files")
          ->type_name("N")
          ->transform(IntegerCheck());
  auto* time_of_test = sub->add_option("--time-of-test", options->time_of_test,
                                       "Time of test in seconds of headerless files")
                           ->type_name("SECONDS")
                           ->check(NumberCheck());
  sub->add_flag("--force", options->request.force,
                "Replace files that already exist in the target folder");
  Command command;
  command.app = sub;
  command.run = [options, dt, units, channel, time_of_test]() {
    return RunImport(*options, dt, units, channel, time_of_test);
  };
  return command;
}

}  // namespace plexo::cli
