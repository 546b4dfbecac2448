#pragma once
// The per-file half of the Average FFT (read, zero-pad, gate, transform, magnitudes) and a
// read-ahead that runs it on worker threads while the caller consumes the files in order.
//
// Each file's spectrum depends on that file alone (the reader writes every entry below the
// count and the padding clears the rest of the transform), so a spectrum computed on any thread
// is bit for bit the one the sequential loop computes. Only the accumulation across files, which
// fixes the order of every sum, stays on the consuming thread.
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "signal/waveform.h"
#include "spectral/fft.h"

namespace plexo {

// One file, read and transformed.
struct FileSpectrum {
  Waveform waveform;              // the samples, then the spectrum (MAX_SAMPLES entries)
  std::vector<double> magnitude;  // |X[i]| for the bins i < N/2 (MAX_SAMPLES/2 entries)
  int count = 0;                  // the reader's result: <= 0 no data, > MAX_SAMPLES too long
  TransformSizeResult size;       // m and N of the transform (meaningful for 1 .. MAX_SAMPLES)
  std::string intervalProblem;    // the refusal of a file without a usable sample interval

  bool HasSpectrum() const { return count > 0 && count <= MAX_SAMPLES && intervalProblem.empty(); }
  int Bins() const { return size.n / 2; }
};

// Reads `path`; when it holds 1 .. MAX_SAMPLES samples and a usable sample interval (else
// `intervalProblem` says why not), zero-pads them to N, applies the "200µs" gate when
// windowIndex is 1, transforms forward and takes the bin magnitudes (hypot).
// Longer files are only counted: their samples would not fit the transform buffer.
void ReadAndTransform(const std::string& path, int windowIndex, FileSpectrum& out);

// Hands out the files' spectra in file order. With jobs > 1, jobs - 1 worker threads read and
// transform ahead into 2*jobs + 8 slots, and the caller joins them whenever the file it asks for
// is not ready yet; a slot is reused only after the caller has moved past the file it held. With
// jobs <= 1 (or when no thread can be started) each file is read on the calling thread when it
// is asked for.
class SpectrumReadAhead {
 public:
  // `slots` belongs to the caller's workspace (kept between runs); it is grown as needed.
  SpectrumReadAhead(const std::vector<std::string>& files, int windowIndex, int jobs,
                    std::vector<FileSpectrum>& slots);
  // Stops the workers (a run that ends early leaves the rest of the files unread) and joins.
  ~SpectrumReadAhead();
  SpectrumReadAhead(const SpectrumReadAhead&) = delete;
  SpectrumReadAhead& operator=(const SpectrumReadAhead&) = delete;

  // The next file's spectrum, valid until the following call. Call at most files.size() times.
  const FileSpectrum& Next();

 private:
  void Work();

  const std::vector<std::string>& files_;
  const int window_index_;
  std::vector<FileSpectrum>& slots_;
  std::vector<std::thread> workers_;

  std::mutex mutex_;
  std::condition_variable slot_freed_;
  std::condition_variable slot_filled_;
  size_t next_claim_ = 0;            // the next file a worker takes
  size_t next_take_ = 0;             // the next file the caller receives
  size_t released_ = 0;              // files the caller is done with
  std::vector<size_t> filled_with_;  // per slot: 1 + the file it holds ready, 0 for none
  bool cancelled_ = false;
};

// The worker count for a --jobs value: 0 means every core the machine reports.
int ResolveJobCount(int jobs);

}  // namespace plexo
