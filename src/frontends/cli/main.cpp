// plexo: the command line. It loads no window toolkit: the desktop and the preview windows of
// --show belong to plexo-desktop beside it, which this program becomes (exec) when they are
// asked for and a display is there. Nor does it load MPI: started by an MPI launcher for a
// command that the ranks share out, it becomes plexo-mpi (built with PLEXO_WITH_MPI).
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "frontends/cli/cli_app.h"
#include "frontends/cli/display_probe.h"
#include "frontends/cli/exit_status.h"
#include "frontends/cli/message_prefix.h"
#include "frontends/cli/mpi_launch.h"
#include "frontends/cli/window_request.h"

namespace {

using plexo::cli::AsksForPreviews;
using plexo::cli::DisplayAvailable;

// A helper program beside this one (the build tree), else where an installation puts it
// (`from_bin`: its folder relative to the folder of plexo).
[[maybe_unused]] std::string HelperProgram(const char* argv0, const char* name,
                                           const char* from_bin) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) self = argv0;
  const std::filesystem::path folder = self.parent_path();
  const std::filesystem::path beside = folder / name;
  if (access(beside.c_str(), X_OK) == 0) return beside.string();
  return (folder / from_bin / name).lexically_normal().string();
}

// Replaces this process by `program` with the same arguments; returns only on failure.
[[maybe_unused]] int BecomeProgram(const std::string& program, int argc, char** argv) {
  std::vector<char*> arguments(argv, argv + argc);
  arguments[0] = const_cast<char*>(program.c_str());
  arguments.push_back(nullptr);
  execv(program.c_str(), arguments.data());
  std::cerr << "The program " << program << " cannot be started: " << std::strerror(errno)
            << std::endl;
  return plexo::cli::ExitStatus(plexo::cli::ExitCode::kFileError);
}

#ifdef PLEXO_HAVE_DESKTOP
int StartWindowProgram(int argc, char** argv) {
  return BecomeProgram(HelperProgram(argv[0], "plexo-desktop", PLEXO_DESKTOP_FROM_BIN), argc, argv);
}
#endif

// Under an MPI launcher of several ranks, a command the ranks share out runs in plexo-mpi.
// One rank runs here, as without a launcher. Without plexo-mpi, several ranks would each
// compute the whole folder: refused. Returns -1 when this program runs on.
int RunUnderMpiLauncher(int argc, char** argv) {
  const int ranks = plexo::cli::LaunchedRankCount();
  if (ranks == 0 || ranks == 1 || !plexo::cli::AsksForSharedCommand(argc, argv)) return -1;
#ifdef PLEXO_MPI_FROM_BIN
  return BecomeProgram(HelperProgram(argv[0], "plexo-mpi", PLEXO_MPI_FROM_BIN), argc, argv);
#else
  if (ranks < 0) return -1;  // how many is not known: run as one
  std::cerr << "This plexo is built without MPI (cmake -DPLEXO_WITH_MPI=ON): each of the " << ranks
            << " ranks would compute the whole folder." << std::endl;
  return plexo::cli::ExitStatus(plexo::cli::ExitCode::kRefused);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  const plexo::cli::MessagePrefix prefix;
  if (const int status = RunUnderMpiLauncher(argc, argv); status >= 0) return status;
  std::function<int(int, char**)> desktop;
#ifdef PLEXO_HAVE_DESKTOP
  if (DisplayAvailable()) {
    // A display that is set but gone would make the window toolkit abort: say so, and go on as
    // without a display (the help, or a refused --show).
    if (const std::string problem = plexo::cli::DisplayProblem(); !problem.empty()) {
      std::cerr << problem << "; no window can be shown." << std::endl;
    } else {
      if (AsksForPreviews(argc, argv)) return StartWindowProgram(argc, argv);
      desktop = StartWindowProgram;
    }
  }
#else
  (void)DisplayAvailable;
#endif
  return plexo::cli::RunCommandLine(argc, argv, desktop);
}
