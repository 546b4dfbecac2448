#include "frontends/cli/mpi_launch.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace plexo::cli {

int LaunchedRankCount() {
  // Open MPI's mpirun, PMIx (srun --mpi=pmix, newer launchers) and PMI/PMI2 (srun --mpi=pmi2,
  // MPICH's hydra) each leave their mark. PMIx alone tells no size before MPI starts.
  for (const char* name : {"OMPI_COMM_WORLD_SIZE", "PMI_SIZE"}) {
    if (const char* value = std::getenv(name)) {
      const int size = std::atoi(value);
      if (size > 0) return size;
    }
  }
  if (std::getenv("PMIX_RANK") != nullptr) {
    const char* tasks = std::getenv("SLURM_NTASKS");
    const int size = tasks != nullptr ? std::atoi(tasks) : 0;
    return size > 0 ? size : -1;
  }
  return 0;
}

bool AsksForSharedCommand(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--setup") {
      ++i;  // its value
      continue;
    }
    if (arg.empty() || arg[0] == '-') continue;
    return arg == "features" || arg == "avg-fft";
  }
  return false;
}

}  // namespace plexo::cli
