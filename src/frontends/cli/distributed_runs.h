#pragma once
// The folder calculations that a program built with MPI shares out over the ranks of a launch
// (plexo-mpi installs them before the command line runs). Without them, and in plexo itself,
// each command runs in this one process.
#include <functional>
#include <string>

#include "features/feature_extraction.h"
#include "spectral/average_fft.h"

namespace plexo::cli {

struct DistributedRuns {
  bool root = true;  // this rank prints the messages, the progress and the summary
  std::function<CalcStatus(FeatureWorkspace&, const FeatureRequest&, CalcProgress&, Host&)>
      features;
  std::function<CalcStatus(AverageFftWorkspace&, const std::string& folder, int windowIndex,
                           CalcProgress&, Host&, int jobs)>
      averageFft;
};

// Null: every calculation runs in this process. The runs must outlive the command line.
void InstallDistributedRuns(const DistributedRuns* runs);
const DistributedRuns* InstalledDistributedRuns();

}  // namespace plexo::cli
