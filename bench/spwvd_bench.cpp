// The smoothed pseudo Wigner-Ville distribution of 2000 time columns: the program's kernel
// (lags side by side, tabulated transform over the lag, worker threads) against the literal loop
// (a sine and a cosine per term of the direct DFT).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "platform/host.h"
#include "platform/recording_host.h"
#include "spectral/fft.h"
#include "timefreq/spwvd_core.h"

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
