#include "frontends/cli/usage_errors.h"

#include <algorithm>
#include <iostream>

#include "frontends/cli/exit_status.h"

namespace plexo::cli {
namespace {

// The command the user was giving options to: the last one chosen on the command line.
CLI::App* ChosenCommand(CLI::App& root) {
  CLI::App* command = &root;
  for (std::vector<CLI::App*> chosen = command->get_subcommands(); !chosen.empty();
       chosen = command->get_subcommands()) {
    command = chosen.back();
  }
  return command;
}

// "plexo fft" for the fft command, "plexo" for the root.
std::string CommandPath(const CLI::App& command) {
  std::string path = command.get_name();
  for (const CLI::App* parent = command.get_parent(); parent != nullptr;
       parent = parent->get_parent()) {
    path = parent->get_name() + (path.empty() ? "" : " " + path);
  }
  return path;
}

std::vector<std::string> CommandNames(const CLI::App& command) {
  std::vector<std::string> names;
  for (const CLI::App* sub : command.get_subcommands({})) names.push_back(sub->get_name());
  return names;
}

// The line of an unknown argument, with the nearest spelling when there is one.
std::string UnknownArgument(const CLI::App& command, const std::string& argument) {
  if (!argument.empty() && argument[0] == '-' && argument != "-") {
    const std::string typed = argument.substr(0, argument.find('='));
    const std::string nearest = NearestName(typed, OptionSpellings(command));
    return "unknown option " + typed + (nearest.empty() ? "" : "; did you mean " + nearest + "?");
  }
  const std::vector<std::string> commands = CommandNames(command);
  if (!commands.empty() && command.get_subcommands().empty()) {
    const std::string nearest = NearestName(argument, commands);
    return "unknown command " + argument +
           (nearest.empty() ? "" : "; did you mean " + nearest + "?");
  }
  return "unexpected argument " + argument;
}

}  // namespace

size_t EditDistance(std::string_view a, std::string_view b) {
  // Optimal string alignment: three rows of the classic table.
  std::vector<size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) previous[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    current[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t substitution = a[i - 1] == b[j - 1] ? 0 : 1;
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + substitution});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        current[j] = std::min(current[j], before[j - 2] + 1);
    }
    std::swap(before, previous);
    std::swap(previous, current);
  }
  return previous[b.size()];
}

std::string NearestName(std::string_view typed, const std::vector<std::string>& candidates) {
  // Dashes are not letters: "-q" and "--t" must not pass for near names.
  const size_t letters = typed.size() - std::min(typed.find_first_not_of('-'), typed.size());
  std::string best;
  size_t best_distance = 0;
  for (const std::string& candidate : candidates) {
    const size_t distance = EditDistance(typed, candidate);
    if (distance == 0 || distance > 2 || 2 * distance >= letters) continue;
    if (best.empty() || distance < best_distance) {
      best = candidate;
      best_distance = distance;
    }
  }
  return best;
}

std::vector<std::string> OptionSpellings(const CLI::App& command) {
  std::vector<std::string> spellings;
  for (const CLI::App* app = &command; app != nullptr; app = app->get_parent()) {
    for (const CLI::Option* option : app->get_options()) {
      for (const std::string& name : option->get_lnames()) spellings.push_back("--" + name);
      for (const std::string& name : option->get_snames()) spellings.push_back("-" + name);
    }
  }
  return spellings;
}

int ReportParseError(CLI::App& root, const CLI::ParseError& error) {
  const std::string name = error.get_name();
  if (name == "CallForHelp" || name == "CallForAllHelp" || name == "CallForVersion") {
    root.exit(error, std::cout, std::cerr);
    std::cout << std::flush;
    return ExitStatus(ExitCode::kDone);
  }
  CLI::App* command = ChosenCommand(root);
  // The name of an ExtrasError is that of the command that raised it: told by its type.
  if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
    for (const std::string& argument : root.remaining(true)) {
      const std::string line = UnknownArgument(*command, argument);
      std::cerr << line << "\n";
      if (line.rfind("unknown command", 0) == 0) break;  // the rest belonged to it
    }
  } else {
    std::cerr << error.what() << "\n";
  }
  std::cerr << "Try '" << CommandPath(*command) << " --help' for more information." << std::endl;
  return ExitStatus(ExitCode::kUsage);
}

}  // namespace plexo::cli
