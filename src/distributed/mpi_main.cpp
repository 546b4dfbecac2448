// plexo-mpi: the command line with MPI, for runs started by an MPI launcher (mpirun, srun).
// plexo hands such runs over to it, so plexo itself never loads MPI. With several ranks,
// `features` and `avg-fft` share the sorted file list out among them; every other command, and
// every command on one rank, runs as in plexo.
#include "distributed/distributed_average_fft.h"
#include "distributed/distributed_features.h"
#include "distributed/mpi_session.h"
#include "frontends/cli/cli_app.h"
#include "frontends/cli/distributed_runs.h"

int main(int argc, char** argv) {
  using namespace plexo;
  const distributed::MpiSession mpi(argc, argv);
  cli::DistributedRuns runs;
  runs.root = mpi.IsRoot();
  if (mpi.Size() > 1) {
    runs.features = [&mpi](FeatureWorkspace& ws, const FeatureRequest& request,
                           CalcProgress& progress, Host& host) {
      return distributed::ExtractFeaturesOnRanks(mpi, ws, request, progress, host);
    };
    runs.averageFft = [&mpi](AverageFftWorkspace& ws, const std::string& folder, int window,
                             CalcProgress& progress, Host& host, int jobs) {
      return distributed::AverageFFTOnRanks(mpi, ws, folder, window, progress, host, jobs);
    };
  }
  cli::InstallDistributedRuns(&runs);
  const int status = cli::RunCommandLine(argc, argv, nullptr);
  cli::InstallDistributedRuns(nullptr);
  return status;
}
