// plexo ascii OPERATOR DIR: the collection operators on a folder of ASCII files.
#include <iostream>
#include <map>
#include <memory>

#include "ascii_ops/collection_operators.h"
#include "frontends/cli/cli_app.h"
#include "frontends/cli/input_paths.h"
#include "frontends/cli/progress_bar.h"
#include "platform/headless_host.h"

namespace plexo::cli {
namespace {

using Operator = CalcStatus (*)(AsciiWorkspace&, const std::string&, CalcProgress&, Host&);

const std::map<std::string, Operator>& Operators() {
  static const std::map<std::string, Operator> operators = {
      {"accumulate", Accumulate}, {"columns", Columns}, {"link", EventLinking}, {"split", Split}};
  return operators;
}

struct AsciiOptions {
  std::string operation;
  std::string folder;
  bool strict = false;
};

int RunAscii(const AsciiOptions& options) {
  if (const std::optional<int> refused = RefuseInputFolder(options.folder)) return *refused;
  HeadlessHost headless;
  auto workspace = std::make_unique<AsciiWorkspace>();
  workspace->strict = options.strict;
  CalcStatus status;
  {
    TerminalProgressBar bar("ascii " + options.operation);
    BarFinishingHost host(headless, bar);
    status = Operators().at(options.operation)(*workspace, options.folder, bar, host);
  }
  for (const std::string& path : workspace->written) std::cout << "Wrote " << path << "\n";
  switch (status) {
    case CalcStatus::kDone:
      if (workspace->written.empty()) std::cout << "Nothing to write." << std::endl;
      break;
    case CalcStatus::kRefused:
      if (headless.MessageCount() == 0)
        std::cerr << "No waveform file of channel 1, event 1 (*1_1.txt) with data in "
                  << options.folder << ": nothing written." << std::endl;
      break;
    case CalcStatus::kStopped:
      std::cerr << "Stopped." << std::endl;
      break;
    case CalcStatus::kFailed:
      std::cerr << "Some results could not be written into " << ConvDataFolder(options.folder)
                << std::endl;
      break;
  }
  std::cout << std::flush;
  return ExitStatus(status);
}

}  // namespace

Command AddAsciiCommand(CLI::App& app, CommonOptions& /*common*/) {
  auto* sub = app.add_subcommand(
      "ascii",
      "Reshape the *.txt files of a folder into DIR/convData:\n"
      "  accumulate  the time of test of every waveform (Accumulated_waveforms.txt)\n"
      "  columns     all waveforms side by side (Column_ASCII_waveforms.txt); at most 16364\n"
      "              samples per file\n"
      "  link        the files <prefix><channel>_<event>.txt of each event joined into one\n"
      "              table per event, delayed by arrival time after the earliest channel\n"
      "              (00000005.txt for event 5); at most 23 channels\n"
      "  split       every column of each delimited table as a waveform file (<name>_<n>.txt)\n"
      "A sample line holds one number and nothing but blanks around it. Files that cannot be\n"
      "used (unreadable, no data, a line that is not a number, no positive sample interval,\n"
      "a link event without a file of every channel) are skipped and named on stderr; the\n"
      "others are written. --strict stops at the first such file instead.");
  auto options = std::make_shared<AsciiOptions>();
  sub->add_option("OPERATOR", options->operation, "accumulate, columns, link or split")
      ->required()
      ->check(CLI::IsMember({"accumulate", "columns", "link", "split"}));
  sub->add_option("DIR", options->folder, "Folder of ASCII files")->required();
  sub->add_flag("--strict", options->strict,
                "Stop at the first file that cannot be used; nothing more is written");
  return Command{sub, [options]() { return RunAscii(*options); }};
}

}  // namespace plexo::cli
