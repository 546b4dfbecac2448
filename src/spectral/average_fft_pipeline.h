#pragma once
// The per-file half of the Average FFT (read, zero-pad, gate, transform, magnitudes), run on
// several threads while the caller consumes the files in order.
//
// Each file's spectrum depends on that file alone (the reader writes every entry below the
// count and the padding clears the rest of the transform), so a spectrum computed on any thread
// is bit for bit the one the sequential loop computes. Only the accumulation across files, which
// fixes the order of every sum, stays on the consuming thread.
#include <functional>
#include <string>
#include <vector>

#include "signal/waveform.h"
#include "signal/waveform_source.h"
#include "spectral/fft.h"

namespace plexo {

// One file, read and transformed.
struct FileSpectrum {
  Waveform waveform;              // the samples, then the spectrum (MAX_SAMPLES entries)
  std::vector<double> magnitude;  // |X[i]| for the bins i < N/2 (MAX_SAMPLES/2 entries)
  int count = 0;                  // the reader's result: <= 0 no data, > MAX_SAMPLES too long
  TransformSizeResult size;       // m and N of the transform (meaningful for 1 .. MAX_SAMPLES)
  std::string intervalProblem;    // the refusal of a file without a usable sample interval
  bool finite = true;             // every bin magnitude finite (samples near 1e308 overflow)

  bool HasSpectrum() const {
    return count > 0 && count <= waveform.limit && intervalProblem.empty();
  }
  int Bins() const { return size.n / 2; }
};

// Reads input k of `source`; when it holds 1 .. out.waveform.limit samples and a usable sample
// interval (else `intervalProblem` says why not), zero-pads them to N, applies the "200µs" gate
// when windowIndex is 1, transforms forward and takes the bin magnitudes (hypot). Longer files are
// only counted: their samples would not fit the transform buffer.
void ReadAndTransform(const WaveformSource& source, int k, int windowIndex, FileSpectrum& out);

// Reads and transforms the inputs of `source` on `jobs` threads (the calling thread one of them)
// and hands consume(k, spectrum) the files in order on the calling thread; false from consume stops
// the run (the files after it are left unread) and is returned. The spectra are kept in `slots`,
// the caller's workspace (kept between runs, grown as needed): 2*jobs + 8 of them with several
// threads, so that a thread the system holds back on the file wanted next does not stop the
// others after two files each (one slot is 320 KiB); a slot is reused only after consume is done
// with the file it held.
// Every slot reads with the sample limit `sampleLimit`.
bool SpectraInFileOrder(const WaveformSource& source, int windowIndex, int jobs, int sampleLimit,
                        std::vector<FileSpectrum>& slots,
                        const std::function<bool(int file, const FileSpectrum& spectrum)>& consume);

}  // namespace plexo
