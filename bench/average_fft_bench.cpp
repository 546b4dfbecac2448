// Average FFT throughput: a folder of 2000 waveform files of 4096 samples (generated once in a
// temporary folder), averaged with every core and with one thread. Reports files per second.
//
//   build/bench/bench/average_fft_bench --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/job_count.h"
#include "signal/waveform_file.h"
#include "spectral/average_fft.h"

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

// A decaying burst per file, each with its own frequency and phase, written once.
class GeneratedFolder {
 public:
  GeneratedFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "plexo_bench_XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    WaveformHeader header;
    header.sampleInterval = 1e-7;
    std::vector<double> x(kSamples);
    for (int f = 0; f < kFiles; ++f) {
      const double cycles = 0.01 + 0.0001 * (f % 97);
      for (int i = 0; i < kSamples; ++i)
        x[i] = std::exp(-i / 800.0) * std::sin(2 * M_PI * cycles * i + f);
      std::string name = std::to_string(f);
      name.insert(0, 5 - name.size(), '0');
      WriteWaveformSci(path_ + "/hit" + name + ".txt", x.data(), kSamples, header);
    }
  }
  ~GeneratedFolder() { std::filesystem::remove_all(path_); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const GeneratedFolder& Folder() {
  static GeneratedFolder folder;
  return folder;
}

// Arg: worker threads (0 = every core).
void BM_AverageFft(benchmark::State& state) {
  const std::string& folder = Folder().path();
  AverageFftWorkspace workspace;
  QuietHost host;
  NullProgress progress;
  for (auto _ : state) {
    const CalcStatus status =
        AverageFFT(workspace, folder, 0, progress, host, static_cast<int>(state.range(0)));
    if (status != CalcStatus::kDone) state.SkipWithError("Average FFT did not complete");
  }
  state.counters["files/s"] = benchmark::Counter(static_cast<double>(kFiles) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
  state.counters["jobs"] = JobCount(static_cast<int>(state.range(0)));
}

BENCHMARK(BM_AverageFft)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

}  // namespace
}  // namespace plexo

BENCHMARK_MAIN();
