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
  std::string trai;
};

// "A-B" (A to B inclusive), "A-" (A on), "-B" (up to B) or "N" (one record) into the selection.
// An empty text when it reads, else the reason.
std::string ParseTraiRange(const std::string& text, RecordSelection& selection) {
  const auto whole = [](const std::string& part, std::int64_t& value) {
    if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos ||
        part.size() > 18)
      return false;
    value = std::stoll(part);
    return true;
  };
  const size_t dash = text.find('-');
  std::int64_t first = selection.traiFirst, last = selection.traiLast;
  bool ok;
  if (dash == std::string::npos) {
    ok = whole(text, first);
    last = first;
  } else {
    const std::string a = text.substr(0, dash), b = text.substr(dash + 1);
    ok = (a.empty() || whole(a, first)) && (b.empty() || whole(b, last)) &&
         !(a.empty() && b.empty());
  }
  if (!ok) return "--trai takes N, A-B, A- or -B (record numbers), not \"" + text + "\"";
  if (first > last) return "--trai " + text + " selects no record (the first is after the last)";
  selection.traiFirst = first;
  selection.traiLast = last;
  return {};
}

int RunImport(ImportCommandOptions& options, const CLI::Option* dt, const CLI::Option* units,
              const CLI::Option* channel, const CLI::Option* time_of_test) {
  ImportOptions& given = options.request.options;
  if (dt->count() > 0) given.sampleInterval = options.dt;
  if (units->count() > 0) given.units = options.units;
  if (channel->count() > 0) {
    given.channel = options.channel;
    options.request.selection.channel = options.channel;
  }
  if (!options.trai.empty()) {
    if (const std::string why = ParseTraiRange(options.trai, options.request.selection);
        !why.empty()) {
      std::cerr << why << std::endl;
      return ExitStatus(CalcStatus::kRefused);
    }
  }
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
      "Decimal commas, a UTF-8 byte-order mark and CR LF or LF line ends are accepted.\n"
      "A waveform database (.tradb) gives one file <db stem>_<TRAI>.txt per record: samples\n"
      "in volts, HIT NUMBER the TRAI, TIME OF TEST the time of the record's first sample\n"
      "(the trigger time less the pretrigger samples); --trai and --channel select records.\n"
      "Every number is written so that it reads back as the same value.");
  auto options = std::make_shared<ImportCommandOptions>();
  sub->add_option("FILE|DIR", options->request.inputs,
                  "Files to import (.txt, .csv, .tradb), or folders whose such files are imported")
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
      sub->add_option("--channel", options->channel,
                      "Channel number of headerless files; of a database, only this channel's "
                      "records are imported")
          ->type_name("N")
          ->transform(IntegerCheck());
  auto* time_of_test = sub->add_option("--time-of-test", options->time_of_test,
                                       "Time of test in seconds of headerless files")
                           ->type_name("SECONDS")
                           ->check(NumberCheck());
  sub->add_option("--trai", options->trai,
                  "Records of a database to import: N, A-B (inclusive), A- or -B; default: all")
      ->type_name("A-B");
  sub->add_flag("--force", options->request.force,
                "Replace files that already exist in the target folder");
  return Command{sub, [options, dt, units, channel, time_of_test]() {
                   return RunImport(*options, dt, units, channel, time_of_test);
                 }};
}

}  // namespace plexo::cli
