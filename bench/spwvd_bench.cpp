// The smoothed pseudo Wigner-Ville distribution of 2000 time columns: the program's kernel
// (lags side by side, tabulated transform over the lag, worker threads) against the literal loop
// (a sine and a cosine per term of the direct DFT), the transform's kernels one by one, and the
// whole Single TFT calculation.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/recording_host.h"
#include "signal/waveform_file.h"
#include "spectral/fft.h"
#include "timefreq/spwvd.h"
#include "timefreq/spwvd_core.h"
#include "timefreq/spwvd_lag_transform.h"

namespace plexo {
namespace {

constexpr int kColumns = 2000;

// A decaying 150 kHz burst at 5 MHz with a little noise, like a decimated AE hit.
std::vector<double> Burst() {
  std::vector<double> x(kColumns);
  std::mt19937 random(7);
  std::normal_distribution<double> noise(0.0, 0.01);
  for (int i = 0; i < kColumns; ++i) {
    const double t = i * 2e-7;
    const double onset = i >= 300 ? std::exp(-(t - 6e-5) / 8e-5) : 0.0;
    x[i] = onset * std::sin(2.0 * M_PI * 150e3 * t) + noise(random);
  }
  return x;
}

// Arguments: N_freq, window parameter, worker threads.
void BM_SpwvdDistribution(benchmark::State& state) {
  const int nFreq = static_cast<int>(state.range(0));
  const int windowParameter = static_cast<int>(state.range(1));
  const int workers = static_cast<int>(state.range(2));
  const std::vector<double> x = Burst();
  TftMatrix matrix;
  matrix.ZeroRegion(TFT_MAX_ROWS, kColumns);
  RecordingHost host;
  NullProgress progress;
  for (auto _ : state) {
    const CalcStatus status = SpwvdDistribution(matrix, x.data(), kColumns, nFreq, windowParameter,
                                                workers, progress, host);
    benchmark::DoNotOptimize(status);
  }
}
BENCHMARK(BM_SpwvdDistribution)
    ->ArgNames({"nFreq", "windowParameter", "workers"})
    ->Args({600, 1, 1})
    ->Args({600, 1, 2})
    ->Args({600, 4, 1})
    ->Args({600, 4, 2})
    ->Args({512, 1, 1})
    ->Args({512, 1, 2})
    ->Args({512, 4, 1})
    ->Args({512, 4, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The transform over the lag alone, 2000 columns of N_freq = 600 with every lag reachable, with
// each kernel. Argument: 0 AVX-512, 1 AVX2, 2 SSE2.
void BM_SpwvdLagTransformIsa(benchmark::State& state) {
  const simd::Isa isas[] = {simd::Isa::kAvx512, simd::Isa::kAvx2, simd::Isa::kSse2};
  const simd::Isa isa = isas[state.range(0)];
  if (isa == simd::Isa::kAvx512 && simd::MachineIsa() != simd::Isa::kAvx512) {
    state.SkipWithError("no AVX-512");
    return;
  }
  if (isa == simd::Isa::kAvx2 && simd::MachineIsa() == simd::Isa::kSse2) {
    state.SkipWithError("no AVX2");
    return;
  }
  constexpr int kFreq = 600;
  const SpwvdLagTransform transform(kFreq, 512, kFreq / 2 - 1, isa);
  std::vector<double> lags(static_cast<size_t>(SpwvdLagTransform::kBatch) * kFreq);
  std::mt19937 random(3);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  for (double& v : lags) v = uniform(random);
  std::vector<double> out(static_cast<size_t>(SpwvdLagTransform::kBatch) * 512);
  std::vector<double> scratch;
  for (auto _ : state) {
    for (int first = 0; first < kColumns; first += SpwvdLagTransform::kBatch)
      transform.Magnitudes(lags.data(), std::min(SpwvdLagTransform::kBatch, kColumns - first),
                           out.data(), 512, scratch);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_SpwvdLagTransformIsa)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole calculation on a 4200-sample file: read, window of 4000 samples decimated by 2
// (2000 columns), automatic grid (N_freq = 600, D = 240), window parameter 4, 2 threads, the
// preview and the modulus file.
void BM_CalcSingleSpwvd(benchmark::State& state) {
  std::string folder = (std::filesystem::temp_directory_path() / "plexo-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string input = folder + "/hit.txt";
  std::vector<double> x(4200);
  for (int k = 0; k < 4200; ++k) x[k] = std::sin(0.15 * k) * std::exp(-k / 900.0);
  WaveformHeader header;
  header.sampleInterval = 1e-7;
  header.units = "V";
  WriteWaveformSci(input, x.data(), 4200, header);
  TftRequest request;
  request.path = input;
  request.freqEnd = 1e6;
  request.timeEnd = 4e-4;
  request.autoTimeRes = true;
  request.autoFreqRes = true;
  request.subsampling = 2;
  request.windowParameter = 4;
  SpwvdWorkspace workspace;
  workspace.jobs = 2;
  NullProgress progress;
  for (auto _ : state) {
    RecordingHost host;
    benchmark::DoNotOptimize(CalcSingleSpwvd(workspace, request, progress, host));
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_CalcSingleSpwvd)->Unit(benchmark::kMillisecond)->UseRealTime();

// The literal loop: a fresh normT per lag, every sum term by term, FFTSplit over all N_freq lags.
void LiteralColumns(const std::vector<double>& x, int nFreq, int windowParameter,
                    std::vector<double>& out) {
  const int N = static_cast<int>(x.size());
  const int lt = SpwvdWindowLength(N, 5LL * windowParameter);
  const int lf = SpwvdWindowLength(nFreq, windowParameter);
  std::vector<double> windowT(lt, 1.0), windowF(lf, 1.0);
  HammingWindow(windowT.data(), lt);
  NormalizeMean(windowT.data(), lt, 1.0);
  HammingWindow(windowF.data(), lf);
  NormalizeMean(windowF.data(), lf, 1.0);
  const int hT = (lt - 1) / 2, hF = (lf - 1) / 2;
  const double centre = windowF[hF];
  for (double& w : windowF) w /= centre;
  std::vector<double> lRe(nFreq, 0.0), lIm(nFreq, 0.0), re(nFreq), im(nFreq);
  auto autocorrelation = [&](int n, int tau) {
    const int low = std::min(hT, N - n - 1 - tau), high = std::min(hT, n - tau);
    double norm = 0.0;
    for (int mu = -low; mu <= high; ++mu) norm += windowT[hT + mu];
    double r = 0.0;
    for (int mu = -low; mu <= high; ++mu)
      r += x[n + tau - mu] * x[n - tau - mu] * windowT[hT + mu] / norm;
    return r;
  };
  out.assign(static_cast<size_t>(N) * nFreq, 0.0);
  for (int n = 0; n < N; ++n) {
    const int tauMax = std::min({n + hT, N - n - 1 + hT, nFreq / 2 - 1, hF});
    lRe[0] = autocorrelation(n, 0);
    for (int tau = 1; tau <= tauMax; ++tau) {
      const double r = autocorrelation(n, tau);
      lRe[tau] = r * windowF[hF + tau];
      lRe[nFreq - tau] = r * windowF[hF - tau];
    }
    const int tau = nFreq / 2;
    if (n <= N - tau - 1 && n >= tau && tau <= hF) {
      const double r = autocorrelation(n, tau);
      lRe[tau] = 0.5 * (r * windowF[hF + tau] + r * windowF[hF - tau]);
    }
    FFTSplit(nFreq, false, lRe.data(), lIm.data(), re.data(), im.data());
    for (int k = 0; k < nFreq; ++k) {
      out[static_cast<size_t>(n) * nFreq + k] = std::sqrt(re[k] * re[k] + im[k] * im[k]);
      lRe[k] = lIm[k] = 0.0;
    }
  }
}

// Arguments: N_freq, window parameter.
void BM_SpwvdLiteral(benchmark::State& state) {
  const std::vector<double> x = Burst();
  std::vector<double> out;
  for (auto _ : state) {
    LiteralColumns(x, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), out);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_SpwvdLiteral)
    ->ArgNames({"nFreq", "windowParameter"})
    ->Args({600, 1})
    ->Args({600, 4})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace plexo

BENCHMARK_MAIN();
