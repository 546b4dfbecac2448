#pragma once
// The Average FFT in blocks, for runs shared out over several processes: the sorted files are
// cut into blocks of kAverageFftBlockFiles, each block's spectra are summed in file order from
// zero, and the block sums combine along one fixed binary tree over the block numbers
// (DyadicFold). Whoever sums which blocks, the total is the same bit for bit. It is not the
// one-process Average FFT's total (one running sum in file order) but equal to it within
// rounding: the table then differs at most in the last digits of some values.
#include <functional>
#include <string>
#include <vector>

#include "platform/host.h"
#include "spectral/average_fft.h"
#include "spectral/dyadic_fold.h"
#include "spectral/spectrum_sums.h"

namespace plexo {

inline constexpr int kAverageFftBlockFiles = 16;

using SpectrumFold = DyadicFold<SpectrumSums>;
SpectrumFold MakeSpectrumFold();

// Blocks of a list of `files` files (the last one may be shorter).
int SpectrumBlockCount(int files);

// What one process contributes: the whole tree nodes over its blocks, or why it stopped.
struct SpectrumBlocksPart {
  std::vector<SpectrumFold::Node> nodes;
  int averaged = 0;
  int skipped = 0;                 // files left out (AverageFftJudge)
  int lastAveraged = -1;           // index into the file list of the last file averaged, else -1
  int refusedFile = -1;            // the file that refuses the run (index into the list), else -1
  std::string message;             // its message
  bool stopped = false;            // after() asked to stop
  std::vector<std::string> notes;  // skipped files and files on another grid, in file order
};

// Reads and sums the inputs of blocks firstBlock .. endBlock-1 of `source` with `jobs` threads
// reading ahead into `slots`, each file judged by AverageFftJudge against `firstAveraged`.
// after(file) runs on the calling thread after each file, in file order; false stops. A file
// that refuses the run ends the part there with its message as the one-process run gives it.
SpectrumBlocksPart SumSpectrumBlocks(const WaveformSource& source, int firstBlock, int endBlock,
                                     const FirstAveragedFile& firstAveraged, int windowIndex,
                                     int jobs, std::vector<FileSpectrum>& slots,
                                     const std::function<bool(int file)>& after,
                                     bool strict = false, int sampleLimit = MAX_SAMPLES);

// The statistics of the summed total, the preview (shown, saved) and the table, as the
// one-process Average FFT writes them; the frequency grid and the preview's header come from
// input `lastFile` of `source`, the last one averaged. total.files must be positive.
CalcStatus FinishBlockedAverageFFT(AverageFftWorkspace& workspace, const SpectrumSums& total,
                                   const WaveformSource& source, int lastFile, int windowIndex,
                                   const std::string& folder, Host& host);
// (workspace.maxSamples is the run's sample limit for every read.)

}  // namespace plexo
