#include "frontends/cli/exit_status.h"

#include <array>
#include <utility>

namespace plexo::cli {
namespace {

constexpr std::array<std::pair<ExitCode, const char*>, 5> kMeanings = {{
    {ExitCode::kDone, "done: every result asked for was written"},
    {ExitCode::kRefused,
     "an input or a value was refused (the message says why); nothing was "
     "written for it"},
    {ExitCode::kFileError, "a file or folder could not be read, or a result could not be written"},
    // SIGINT, SIGTERM and SIGHUP end the program by the signal itself (the shell shows 128 + its
    // number), as a caller interrupting a script expects; 3 is a run that stopped on its own.
    {ExitCode::kInterrupted,
     "stopped before the results were written (a signal ends a run with 128 + its number)"},
    {ExitCode::kUsage, "usage error: an unknown option, a bad option value, a missing argument"},
}};

}  // namespace

int ExitStatus(CalcStatus status) {
  switch (status) {
    case CalcStatus::kDone:
      return ExitStatus(ExitCode::kDone);
    case CalcStatus::kRefused:
      return ExitStatus(ExitCode::kRefused);
    case CalcStatus::kStopped:
      return ExitStatus(ExitCode::kInterrupted);
    case CalcStatus::kFailed:
      return ExitStatus(ExitCode::kFileError);
  }
  return ExitStatus(ExitCode::kFileError);
}

std::string ExitStatusHelp() {
  std::string text = "Exit status:";
  for (const auto& [code, meaning] : kMeanings) {
    std::string number = std::to_string(ExitStatus(code));
    number.resize(4, ' ');
    text += "\n  " + number + meaning;
  }
  return text;
}

}  // namespace plexo::cli
