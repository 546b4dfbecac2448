// The wavelet transform's cost: the direct convolution of a 4000-column window with a 1001-sample
// wavelet at 100 frequency rows (400 million complex multiply-adds), as the fast kernel on 1..N
// threads and on each instruction set, and as the plain double loop it must match.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/ordered_workers.h"
#include "signal/complex.h"
#include "signal/waveform.h"
#include "signal/waveform_file.h"
#include "timefreq/cwt.h"
#include "timefreq/cwt_reference.h"
#include "timefreq/cwt_row.h"
#include "timefreq/gabor.h"
#include "timefreq/tft_matrix.h"

namespace plexo {
namespace {

constexpr int kColumns = 4000;
constexpr int kRows = 100;
constexpr int kWaveletLength = 1001;
constexpr double kDt = 1e-7;
constexpr double kFreqStep = 1e4;

// A decaying burst filling the window, imaginary parts zero as after reading a file.
std::vector<Complex> Window() {
  std::vector<Complex> x(MAX_SAMPLES);
  for (int k = 0; k < kColumns; ++k) {
    x[k] = {std::sin(2.0 * 3.141592653589793 * 2e5 * k * kDt) * std::exp(-k / 1500.0), 0.0};
  }
  return x;
}

void SetCounters(benchmark::State& state) {
  const double multiply_adds = static_cast<double>(kColumns) * kWaveletLength * kRows;
  state.counters["CMAC/s"] =
      benchmark::Counter(multiply_adds * state.iterations(), benchmark::Counter::kIsRate);
}

// The row loop of the calculation: every row of one kernel, spread over `jobs` threads with a
// scratch each, into the matrix in row order.
void ComputeRows(const CwtRowKernel& kernel, int jobs, std::vector<CwtRowScratch>& scratch,
                 TftMatrix& matrix) {
  RunInOrder(
      kRows, jobs,
      [&](int row, int worker) {
        kernel.Compute(GaborScale(row + 1, kFreqStep, kDt), kDt, matrix.Row(row), scratch[worker]);
      },
      [](int) { return true; });
}

// The direct rows, one kernel per iteration.
void BM_CwtRows(benchmark::State& state) {
  const int jobs = static_cast<int>(state.range(0));
  const std::vector<Complex> window = Window();
  TftMatrix matrix;
  matrix.ZeroRegion(kRows + 1, kColumns + 1);
  for (auto _ : state) {
    const CwtRowKernel kernel(window, kColumns, kWaveletLength);
    std::vector<CwtRowScratch> scratch(jobs);
    ComputeRows(kernel, jobs, scratch, matrix);
    benchmark::DoNotOptimize(matrix.Row(kRows - 1)[kColumns - 1]);
  }
  SetCounters(state);
  state.SetLabel(simd::IsaName(simd::MachineIsa()));
}
BENCHMARK(BM_CwtRows)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same rows by fast convolution (WaveletMethod::kFft). Arg 0: jobs; arg 1: 1 when the
// wavelets' spectra are already in the threads' caches (a folder's second and later files), 0
// when every row transforms its wavelet too (a single file).
void BM_CwtFftRows(benchmark::State& state) {
  const int jobs = static_cast<int>(state.range(0));
  const bool warm = state.range(1) != 0;
  const std::vector<Complex> window = Window();
  TftMatrix matrix;
  matrix.ZeroRegion(kRows + 1, kColumns + 1);
  std::vector<CwtRowScratch> scratch(jobs);
  for (auto _ : state) {
    const CwtRowKernel kernel(window, kColumns, kWaveletLength, WaveletMethod::kFft);
    if (!warm) scratch.assign(jobs, CwtRowScratch{});
    ComputeRows(kernel, jobs, scratch, matrix);
    benchmark::DoNotOptimize(matrix.Row(kRows - 1)[kColumns - 1]);
  }
  SetCounters(state);
}
BENCHMARK(BM_CwtFftRows)
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({2, 0})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Where fft stops paying: one thread, 100 rows, the direct sum against fft with the wavelets'
// spectra cached (a folder's run). Arg 0: 0 direct, 1 fft; arg 1: window columns; arg 2: taps.
void BM_CwtRowsBoundary(benchmark::State& state) {
  const WaveletMethod method = state.range(0) != 0 ? WaveletMethod::kFft : WaveletMethod::kDirect;
  const int columns = static_cast<int>(state.range(1));
  const int taps = static_cast<int>(state.range(2));
  const std::vector<Complex> window = Window();
  TftMatrix matrix;
  matrix.ZeroRegion(kRows + 1, columns + 1);
  std::vector<CwtRowScratch> scratch(1);
  for (auto _ : state) {
    const CwtRowKernel kernel(window, columns, taps, method);
    for (int row = 0; row < kRows; ++row)
      kernel.Compute(GaborScale(row + 1, kFreqStep, kDt), kDt, matrix.Row(row), scratch[0]);
    benchmark::DoNotOptimize(matrix.Row(kRows - 1)[columns - 1]);
  }
}
BENCHMARK(BM_CwtRowsBoundary)
    ->ArgsProduct({{0, 1}, {200, 500, 4000}, {11, 51, 201, 1001}})
    ->Unit(benchmark::kMicrosecond);

// One thread on a given instruction set.
void BM_CwtRowsIsa(benchmark::State& state) {
  const auto isa = static_cast<simd::Isa>(state.range(0));
  if (!simd::IsaSupported(isa)) {
    state.SkipWithError("instruction set not available");
    return;
  }
  const std::vector<Complex> window = Window();
  std::vector<Complex> out(kColumns);
  CwtRowKernel kernel(window, kColumns, kWaveletLength);
  kernel.UseIsa(isa);
  CwtRowScratch scratch;
  for (auto _ : state) {
    for (int row = 1; row <= kRows; ++row) {
      kernel.Compute(GaborScale(row, kFreqStep, kDt), kDt, out.data(), scratch);
    }
    benchmark::DoNotOptimize(out.data());
  }
  SetCounters(state);
  state.SetLabel(simd::IsaName(isa));
}
BENCHMARK(BM_CwtRowsIsa)
    ->Arg(static_cast<int>(simd::Isa::kSse2))
    ->Arg(static_cast<int>(simd::Isa::kAvx2))
    ->Arg(static_cast<int>(simd::Isa::kAvx512))
    ->Unit(benchmark::kMillisecond);

// The plain double loop over j for every column, on one thread.
void BM_CwtPlainLoop(benchmark::State& state) {
  const std::vector<Complex> window = Window();
  std::vector<Complex> out(kColumns);
  for (auto _ : state) {
    for (int row = 1; row <= kRows; ++row) {
      testing::ReferenceCwtRow(GaborScale(row, kFreqStep, kDt), kDt, window.data(), MAX_SAMPLES,
                               out.data(), kColumns, kWaveletLength);
    }
    benchmark::DoNotOptimize(out.data());
  }
  SetCounters(state);
}
BENCHMARK(BM_CwtPlainLoop)->Unit(benchmark::kMillisecond)->Iterations(3);

// A host that answers nothing and shows nothing.
class QuietHost : public Host {
 public:
  void MessageBox(std::string_view) override {}
  std::optional<std::string> OpenFile(std::string_view) override { return std::nullopt; }
  std::optional<std::string> BrowseForFolder() override { return std::nullopt; }
  void ShowImage(std::string_view, const cv::Mat&) override {}
};

// The whole calculation on the same grid: read the file, compute the rows on all cores, paint
// and save the preview, write the modulus file (100 lines of 4001 cells).
void BM_CalcSingleCwt(benchmark::State& state) {
  std::string folder = (std::filesystem::temp_directory_path() / "plexo-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::vector<Complex> window = Window();
  std::vector<double> samples(kColumns + 100);
  for (int k = 0; k < kColumns; ++k) samples[k] = window[k].re;
  WaveformHeader header;
  header.sampleInterval = kDt;
  const std::string input = folder + "/hit.txt";
  WriteWaveform(input, samples.data(), static_cast<int>(samples.size()), header);

  TftRequest request;
  request.path = input;
  request.timeEnd = kColumns * kDt;
  request.autoTimeRes = true;
  request.freqEnd = kRows * kFreqStep;
  request.freqRes = kFreqStep;
  request.waveletLength = kWaveletLength;
  request.output = TftOutput::kModulus;
  CwtWorkspace workspace;
  QuietHost host;
  NullProgress progress;
  for (auto _ : state) {
    if (CalcSingleCwt(workspace, request, progress, host) != CalcStatus::kDone) {
      state.SkipWithError("calculation failed");
      break;
    }
  }
  std::filesystem::remove_all(folder);
  SetCounters(state);
}
BENCHMARK(BM_CalcSingleCwt)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace plexo

BENCHMARK_MAIN();
