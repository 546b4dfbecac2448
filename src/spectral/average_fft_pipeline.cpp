#include "spectral/average_fft_pipeline.h"

#include <algorithm>
#include <cmath>
#include <system_error>

#include "signal/waveform_file.h"
#include "spectral/magnitude.h"
#include "spectral/sample_interval_check.h"
#include "spectral/time_gate.h"

namespace plexo {

void ReadAndTransform(const std::string& path, int windowIndex, FileSpectrum& out) {
  // A slot holds the files of other threads before: nothing of theirs may stand in for a header
  // line this file lacks.
  static_cast<WaveformHeader&>(out.waveform) = WaveformHeader{};
  out.finite = true;
  out.count = ReadWaveform(path, out.waveform);
  out.intervalProblem = SampleIntervalProblem(path, out.waveform.sampleInterval);
  if (!out.HasSpectrum()) return;
  out.size = TransformSize(out.count);
  Complex* x = out.waveform.samples.data();
  for (int i = out.count; i < out.size.n; ++i) x[i] = Complex{};
  if (windowIndex == kFftWindow200us)
    ApplyTimeGate200us(x, out.size.n, out.waveform.sampleInterval);
  FFT(FftDirection::kForward, out.size.m, x);
  if (out.magnitude.size() < static_cast<size_t>(MAX_SAMPLES / 2))
    out.magnitude.resize(MAX_SAMPLES / 2);
  const int bins = out.Bins();
  Magnitudes(x, bins, out.magnitude.data());
  // Finite samples can still overflow in the transform's sums; one such bin would make the
  // whole average infinite.
  out.finite = std::all_of(out.magnitude.data(), out.magnitude.data() + bins,
                           [](double m) { return std::isfinite(m); });
}

// Slots beyond two per worker: a worker that the system holds back on the file the caller needs
// next would otherwise stop the others after two files each (one slot is 320 KiB).
constexpr size_t kSpareSlots = 8;

int ResolveJobCount(int jobs) {
  if (jobs > 0) return jobs;
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? static_cast<int>(cores) : 1;
}

SpectrumReadAhead::SpectrumReadAhead(const std::vector<std::string>& files, int windowIndex,
                                     int jobs, std::vector<FileSpectrum>& slots)
    : files_(files), window_index_(windowIndex), slots_(slots) {
  // More workers than files, or than any machine needs, only cost memory.
  // The caller reads too (see Next), so `jobs` threads in all are jobs - 1 workers.
  const size_t threads =
      std::min<size_t>({static_cast<size_t>(std::max(jobs, 1)), files.size(), 256});
  const size_t workers = threads > 1 ? threads - 1 : 0;
  const size_t slot_count = threads > 1 ? 2 * threads + kSpareSlots : 1;
  if (slots_.size() < slot_count) slots_.resize(slot_count);
  filled_with_.assign(slots_.size(), 0);
  if (workers == 0) return;
  for (size_t w = 0; w < workers; ++w) {
    try {
      workers_.emplace_back(&SpectrumReadAhead::Work, this);
    } catch (const std::system_error&) {
      break;  // run with the workers that did start (or inline when none did)
    }
  }
}

SpectrumReadAhead::~SpectrumReadAhead() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
  }
  slot_freed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

const FileSpectrum& SpectrumReadAhead::Next() {
  if (workers_.empty()) {
    FileSpectrum& slot = slots_[0];
    ReadAndTransform(files_[next_take_++], window_index_, slot);
    return slot;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  released_ = next_take_;  // the file handed out last is done with
  slot_freed_.notify_all();
  const size_t k = next_take_++;
  const size_t slot_count = slots_.size();
  const size_t slot = k % slot_count;
  // While the file asked for is not ready, the caller reads ahead itself rather than sleep:
  // a woken thread costs more than a file's work on a machine whose cores are all in use.
  while (filled_with_[slot] != k + 1) {
    if (next_claim_ < files_.size() && next_claim_ < released_ + slot_count) {
      const size_t j = next_claim_++;
      lock.unlock();
      ReadAndTransform(files_[j], window_index_, slots_[j % slot_count]);
      lock.lock();
      filled_with_[j % slot_count] = j + 1;
      slot_filled_.notify_all();
    } else {
      slot_filled_.wait(lock);
    }
  }
  return slots_[slot];
}

void SpectrumReadAhead::Work() {
  const size_t slot_count = slots_.size();
  std::unique_lock<std::mutex> lock(mutex_);
  while (!cancelled_ && next_claim_ < files_.size()) {
    const size_t j = next_claim_++;
    // Slot j % slot_count is free once the caller is done with file j - slot_count.
    slot_freed_.wait(lock, [&] { return cancelled_ || j < released_ + slot_count; });
    if (cancelled_) break;
    lock.unlock();
    ReadAndTransform(files_[j], window_index_, slots_[j % slot_count]);
    lock.lock();
    filled_with_[j % slot_count] = j + 1;
    slot_filled_.notify_all();
  }
}

}  // namespace plexo
