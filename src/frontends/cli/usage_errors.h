#pragma once
// What the command line says when it cannot be understood: one message on standard error and
// the usage exit status (CLI11's own numbers, 104 to 109, are not passed on); --help and
// --version print to standard output and exit 0. An option that does not exist is answered
// with the nearest option of the command ("unknown option --time-strat; did you mean
// --time-start?"), a command that does not exist with the nearest command.
#include <CLI/CLI.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace plexo::cli {

// Edit distance with adjacent transpositions counted as one edit ("strat" -> "start" is 1).
size_t EditDistance(std::string_view a, std::string_view b);

// The candidate nearest to `typed`, or empty when none is near enough to be what was meant (at
// most two edits, and fewer than half the letters of the typed name).
std::string NearestName(std::string_view typed, const std::vector<std::string>& candidates);

// Every spelling the options of `command` (and of the commands it falls through to) accept:
// "--time-start", "-j", "--no-complex".
std::vector<std::string> OptionSpellings(const CLI::App& command);

// Reports `error`, raised by root.parse(), and returns the exit status.
int ReportParseError(CLI::App& root, const CLI::ParseError& error);

}  // namespace plexo::cli
