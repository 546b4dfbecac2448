#include "frontends/cli/distributed_runs.h"

namespace plexo::cli {
namespace {
const DistributedRuns* installed = nullptr;
}  // namespace

void InstallDistributedRuns(const DistributedRuns* runs) { installed = runs; }
const DistributedRuns* InstalledDistributedRuns() { return installed; }

}  // namespace plexo::cli
