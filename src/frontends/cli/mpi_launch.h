#pragma once
// Whether this process was started by an MPI launcher (mpirun, mpiexec, srun) and for a command
// that the ranks of a launch share out. plexo itself never loads MPI: it hands such a run over
// to plexo-mpi beside it, as it hands windows over to plexo-desktop.
namespace plexo::cli {

// The number of processes the launcher started, from its environment: 0 when no launcher
// started this one, -1 when one did without saying how many.
int LaunchedRankCount();

// True when the command of argv is one the ranks share out (features, avg-fft).
bool AsksForSharedCommand(int argc, char** argv);

}  // namespace plexo::cli
