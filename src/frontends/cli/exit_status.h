#pragma once
// The exit statuses of plexo, of plexo-desktop when it runs a command, and of plexo-mpi: one
// table, used by every command and listed at the end of `plexo --help` (and so in the manual).
#include <string>

#include "platform/host.h"

namespace plexo::cli {

enum class ExitCode : int {
  kDone = 0,         // every result asked for was written
  kRefused = 1,      // the input or a value was refused; nothing was written for it
  kFileError = 2,    // a file or folder could not be read, or a result could not be written
  kInterrupted = 3,  // stopped before the results were written (a signal ends by itself)
  kUsage = 64,       // the command line itself: unknown option, bad value, missing argument
};

constexpr int ExitStatus(ExitCode code) { return static_cast<int>(code); }

// The exit status a calculation's outcome maps to.
int ExitStatus(CalcStatus status);

// The table as the help prints it: "Exit status:" and one line per status.
std::string ExitStatusHelp();

}  // namespace plexo::cli
