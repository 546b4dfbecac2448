#pragma once
// The Average FFT shared out over the ranks of one launch.
#include <string>

#include "distributed/mpi_session.h"
#include "spectral/average_fft.h"

namespace plexo::distributed {

// Rank 0 checks and lists the folder; every rank sums a contiguous run of the fixed blocks of
// files (SumSpectrumBlocks, `jobs` threads reading ahead); rank 0 combines the block sums along
// the fixed tree and writes the preview and the table. The table is the same for any number of
// ranks and within rounding of the one-process table (see average_fft_blocks.h). A refused
// file is reported by rank 0 as the one-process run reports the first one of the list, and
// nothing is written. Progress and messages on rank 0; every rank returns the same status;
// workspace.averaged and .skipped are set on rank 0.
CalcStatus AverageFFTOnRanks(const MpiSession& mpi, AverageFftWorkspace& workspace,
                             const std::string& folder, int windowIndex, CalcProgress& progress,
                             Host& host, int jobs);

}  // namespace plexo::distributed
