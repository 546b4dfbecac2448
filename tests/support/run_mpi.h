#pragma once
// Runs plexo under the MPI launcher the build found, as a user on a workstation would:
// oversubscribed (more ranks than cores), as root where the tests run as root (containers),
// on shared memory only (no network, no fabric libraries that a container lacks).
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>

#include "support/run_plexo.h"

namespace plexo::testing {

// The launcher, or empty when plexo-mpi is not built or the launcher is missing.
inline std::string MpiLauncher() {
#ifdef PLEXO_MPIEXEC
  const std::string launcher = PLEXO_MPIEXEC;
  if (!launcher.empty() && access(launcher.c_str(), X_OK) == 0) return launcher;
#endif
  return {};
}

// `mpirun -n ranks plexo arguments`; standard output and error together.
inline PlexoResult RunPlexoOnRanks(int ranks, const std::string& arguments) {
  // Shared memory without the single-copy mechanism (ptrace-based, refused in many
  // containers); the ob1 messaging layer, which needs no fabric library.
  // A launch that hangs is ended (and fails its test) instead of holding the suite.
  std::string command =
      "OMPI_MCA_btl=self,vader OMPI_MCA_pml=ob1 OMPI_MCA_btl_vader_single_copy_mechanism=none "
      "timeout 120 " +
      MpiLauncher() + " --oversubscribe";
  if (geteuid() == 0) command += " --allow-run-as-root";
  command += " -n " + std::to_string(ranks) + " " + PLEXO_BINARY + " " + arguments;
  return RunCommand(command);
}

}  // namespace plexo::testing
