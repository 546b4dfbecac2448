// Feature extraction throughput: a folder of 2000 waveform files of 4096 samples (generated once
// in a temporary folder), with the dialog's default columns and with all 25 columns (wavelet
// features on: 0 .. 1 MHz in 10 kHz steps, wavelet length 1001), on one thread and on two.
// Also the reading alone, for the share of the time spent reading and parsing files.
// With PLEXO_FEATURES_BENCH_DIR set, the files are written into that folder and kept, so that
// `plexo features` and bench/peers/features_numpy.py can be timed on the same files.
//
//   build/bench/bench/features_bench --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "features/feature_extraction.h"
#include "features/time_features.h"
#include "platform/file_system.h"
#include "signal/waveform_file.h"

namespace plexo {
namespace {

constexpr int kFiles = 2000;
constexpr int kSamples = 4096;

class QuietHost : public Host {
 public:
  void MessageBox(std::string_view) override {}
  std::optional<std::string> OpenFile(std::string_view) override { return std::nullopt; }
  std::optional<std::string> BrowseForFolder() override { return std::nullopt; }
  void ShowImage(std::string_view, const cv::Mat&) override {}
};

// A noisy pre-trigger stretch, then a decaying burst of two tones; each file its own.
class GeneratedFolder {
 public:
  GeneratedFolder() {
    if (const char* keep = std::getenv("PLEXO_FEATURES_BENCH_DIR")) {
      path_ = keep;
      keep_ = true;
      std::filesystem::create_directories(path_);
    } else {
      std::string pattern =
          (std::filesystem::temp_directory_path() / "plexo_fx_bench_XXXXXX").string();
      path_ = mkdtemp(pattern.data());
    }
    WaveformHeader header;
    header.sampleInterval = 1e-7;
    header.units = "volts";
    std::vector<double> x(kSamples);
    unsigned state = 1;
    for (int f = 0; f < kFiles; ++f) {
      const int onset = 1800 + f % 400;
      const double f1 = 100e3 + 500.0 * (f % 401);
      for (int i = 0; i < kSamples; ++i) {
        state = state * 1664525u + 1013904223u;
        double v = 0.002 * ((state >> 8) / 16777216.0 - 0.5);
        if (i >= onset) {
          const double t = (i - onset) * 1e-7;
          v += std::exp(-t / 40e-6) *
               (0.4 * std::sin(2 * M_PI * f1 * t) + 0.1 * std::sin(2 * M_PI * 450e3 * t + f));
        }
        x[i] = v;
      }
      header.timeOfTest = 0.01 * f;
      std::string name = std::to_string(f);
      name.insert(0, 5 - name.size(), '0');
      WriteWaveform(path_ + "/hit" + name + ".txt", x.data(), kSamples, header);
    }
  }
  ~GeneratedFolder() {
    if (!keep_) std::filesystem::remove_all(path_);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool keep_ = false;
};

const GeneratedFolder& Folder() {
  static GeneratedFolder folder;
  return folder;
}

// Args: columns (0 the dialog's defaults, 1 all 25), worker threads.
void BM_Features(benchmark::State& state) {
  FeatureRequest request;
  request.folder = Folder().path();
  if (state.range(0) == 1) request.columns.set();
  request.jobs = static_cast<int>(state.range(1));
  FeatureWorkspace workspace;
  QuietHost host;
  NullProgress progress;
  for (auto _ : state) {
    if (ExtractFeatures(workspace, request, progress, host) != CalcStatus::kDone)
      state.SkipWithError("feature run did not complete");
  }
  state.counters["files/s"] = benchmark::Counter(static_cast<double>(kFiles) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
}

BENCHMARK(BM_Features)
    ->Args({0, 1})
    ->Args({0, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
BENCHMARK(BM_Features)
    ->Args({1, 1})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// The onset picker on one waveform of 4096 samples with its peak near sample 3000 (the
// criterion of ~3000 splits, each from scratch): Arg 0 the feature run's pick, Arg 1 the
// review's trace (the same scan, keeping every criterion).
void BM_PickOnset(benchmark::State& state) {
  std::vector<Complex> x(4096);
  uint32_t seed = 7;
  for (int i = 1; i < 4096; ++i) {
    seed = seed * 1664525u + 1013904223u;
    double v = 0.002 * ((seed >> 8) / 16777216.0 - 0.5);
    if (i >= 3000) v += std::exp(-(i - 3000) / 300.0) * 0.5 * std::sin(0.12 * (i - 3000));
    x[static_cast<size_t>(i)] = {v, 0.0};
  }
  for (auto _ : state) {
    if (state.range(0) == 0) {
      benchmark::DoNotOptimize(PickOnsetAIC(x.data(), 4096, 1e-7));
    } else {
      benchmark::DoNotOptimize(TraceOnsetAIC(x.data(), 4096));
    }
  }
}

BENCHMARK(BM_PickOnset)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Reading and parsing alone, one thread: the reader's share of a one-thread run.
void BM_ReadOnly(benchmark::State& state) {
  const std::vector<std::string> files = ListTxtFiles(Folder().path());
  Waveform wf;
  for (auto _ : state) {
    for (const std::string& file : files) benchmark::DoNotOptimize(ReadWaveform(file, wf));
  }
  state.counters["files/s"] = benchmark::Counter(static_cast<double>(kFiles) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
}

BENCHMARK(BM_ReadOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
}  // namespace plexo

BENCHMARK_MAIN();
