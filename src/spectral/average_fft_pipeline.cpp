#include "spectral/average_fft_pipeline.h"

#include <algorithm>
#include <cmath>

#include "platform/ordered_workers.h"
#include "spectral/magnitude.h"
#include "spectral/sample_interval_check.h"
#include "spectral/time_gate.h"

namespace plexo {

void ReadAndTransform(const WaveformSource& source, int k, int windowIndex, FileSpectrum& out) {
  // A slot holds the files of other threads before: nothing of theirs may stand in for a header
  // line this file lacks.
  static_cast<WaveformHeader&>(out.waveform) = WaveformHeader{};
  out.finite = true;
  out.count = source.Read(k, out.waveform);
  out.intervalProblem = SampleIntervalProblem(source.Label(k), out.waveform.sampleInterval);
  if (!out.HasSpectrum()) return;
  out.size = TransformSize(out.count);
  Complex* x = out.waveform.samples.data();
  for (int i = out.count; i < out.size.n; ++i) x[i] = Complex{};
  if (windowIndex == kFftWindow200us)
    ApplyTimeGate200us(x, out.size.n, out.waveform.sampleInterval);
  FFT(FftDirection::kForward, out.size.m, x);
  const int bins = out.Bins();
  const size_t room = static_cast<size_t>(std::max(bins, MAX_SAMPLES / 2));
  if (out.magnitude.size() < room) out.magnitude.resize(room);
  Magnitudes(x, bins, out.magnitude.data());
  // Finite samples can still overflow in the transform's sums; one such bin would make the
  // whole average infinite.
  out.finite = std::all_of(out.magnitude.data(), out.magnitude.data() + bins,
                           [](double m) { return std::isfinite(m); });
}

// Slots beyond two per thread: see SpectraInFileOrder.
constexpr size_t kSpareSlots = 8;
// More threads than files, or than any machine needs, only cost memory.
constexpr size_t kMostThreads = 256;

bool SpectraInFileOrder(
    const WaveformSource& source, int windowIndex, int jobs, int sampleLimit,
    std::vector<FileSpectrum>& slots,
    const std::function<bool(int file, const FileSpectrum& spectrum)>& consume) {
  const size_t threads = std::min<size_t>(
      {static_cast<size_t>(std::max(jobs, 1)), static_cast<size_t>(source.Count()), kMostThreads});
  const size_t slot_count = threads > 1 ? 2 * threads + kSpareSlots : 1;
  if (slots.size() < slot_count) slots.resize(slot_count);
  for (FileSpectrum& slot : slots) slot.waveform.limit = sampleLimit;
  return RunInOrder(
      source.Count(), static_cast<int>(threads),
      [&](int k, int) {
        ReadAndTransform(source, k, windowIndex, slots[static_cast<size_t>(k) % slot_count]);
      },
      [&](int k) { return consume(k, slots[static_cast<size_t>(k) % slot_count]); },
      static_cast<int>(slot_count));
}

}  // namespace plexo
