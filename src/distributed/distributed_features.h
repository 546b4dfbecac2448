#pragma once
// The feature extraction shared out over the ranks of one launch.
#include "distributed/mpi_session.h"
#include "features/feature_extraction.h"

namespace plexo::distributed {

// Rank 0 checks the request and the folder and lists the files; every rank computes the rows
// of its contiguous run of the list with request.jobs threads; rank 0 joins them in file order
// and writes the table, byte for byte the one-process table. A refused file is reported by
// rank 0 with the message the one-process run shows (the first refused file of the list), and
// nothing is written. Progress and messages on rank 0 only; every rank returns the same status.
CalcStatus ExtractFeaturesOnRanks(const MpiSession& mpi, FeatureWorkspace& workspace,
                                  const FeatureRequest& request, CalcProgress& progress,
                                  Host& host);

}  // namespace plexo::distributed
