#pragma once
// What the Average FFT does with each file it reads, decided in one place for every way of
// running it (one process, blocks, ranks): average it (noting a file on another grid than the
// first file averaged), leave it out (naming it and why), or refuse the whole run.
#include <string>
#include <vector>

#include "spectral/average_fft_pipeline.h"

namespace plexo {

// Why a file read for the average is left out of it (unreadable, no samples, refused content,
// no usable sample interval, no frequency bin, a spectrum that overflows), naming the file;
// empty when it is averaged or when it is over MAX_SAMPLES (which stops the run).
std::string AverageFftSkipReason(const std::string& path, const FileSpectrum& file);
// "4096 samples at 1.000000e-007 s", and the note for a file on another grid than the first
// file averaged.
std::string AverageFftGridText(const FileSpectrum& file);
std::string AverageFftGridNote(const std::string& path, const FileSpectrum& file,
                               const std::string& firstPath, const std::string& firstGrid);

// The first file averaged in list order, which every file averaged is compared with: files on
// another sample count or interval are noted (and averaged all the same). path empty: none.
struct FirstAveragedFile {
  std::string path;  // the input's label
  std::string grid;  // AverageFftGridText
  int count = 0;
  double sampleInterval = 0.0;
  int index = -1;  // the input's index in its source
};

enum class FileVerdict {
  kAverage,    // text: the note of a file on another grid than the first, else empty
  kSkip,       // text: the note naming the file and why (empty: left out without a note)
  kRefuseRun,  // text: the message that stops the run
};

struct FileJudgement {
  FileVerdict verdict = FileVerdict::kSkip;
  std::string text;
};

class AverageFftJudge {
 public:
  // The first file this judge averages becomes the one the others are compared with. `strict`:
  // a file left out refuses the run instead.
  explicit AverageFftJudge(bool strict) : strict_(strict), adopt_(true) {}
  // Compares with `first`, found beforehand for the whole list (none: no file is compared).
  AverageFftJudge(bool strict, FirstAveragedFile first)
      : strict_(strict), adopt_(false), first_(std::move(first)) {}

  // A file of more than MAX_SAMPLES samples refuses the run (its samples do not fit the
  // transform); a file with a skip reason is left out, or refuses the run when strict; a file
  // with a spectrum is averaged. The files averaged and left out are counted here, and their
  // notes kept in file order.
  FileJudgement Judge(const std::string& path, const FileSpectrum& file);

  int Averaged() const { return averaged_; }
  int Skipped() const { return skipped_; }
  std::vector<std::string>& Notes() { return notes_; }

 private:
  FileJudgement Decide(const std::string& path, const FileSpectrum& file);

  bool strict_;
  bool adopt_;
  FirstAveragedFile first_;
  int averaged_ = 0;
  int skipped_ = 0;
  std::vector<std::string> notes_;
};

// Finds the first input averaged by reading from input `from` of the source on until one is
// averaged; none when an input before it refuses the run. One input to read almost always.
FirstAveragedFile FindFirstAveragedFile(const WaveformSource& source, int windowIndex,
                                        int from = 0);

}  // namespace plexo
