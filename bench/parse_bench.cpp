// Number reading: the waveform reader on a 4096-sample file, and the parser alone on its sample
// lines, each beside the way it was done before (a line copied per std::getline, every number
// through strtod). Bytes/s and numbers/s.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "signal/number_text.h"
#include "signal/waveform_file.h"

namespace plexo {
namespace {

constexpr int kSamples = 4096;

class BenchFile {
 public:
  BenchFile() {
    std::string folder = (std::filesystem::temp_directory_path() / "plexo-parse-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) std::abort();
    folder_ = folder;
    path_ = folder + "/hit.txt";
    std::vector<double> samples(kSamples);
    for (int k = 0; k < kSamples; ++k)
      samples[k] = std::sin(0.05 * k) * std::exp(-k / 1500.0) + 1e-3 * std::cos(1.3 * k);
    WaveformHeader header;
    header.sampleInterval = 1e-7;
    WriteWaveform(path_, samples.data(), kSamples, header);
    bytes_ = std::filesystem::file_size(path_);
  }
  ~BenchFile() { std::filesystem::remove_all(folder_); }
  const std::string& path() const { return path_; }
  size_t bytes() const { return bytes_; }

 private:
  std::string folder_;
  std::string path_;
  size_t bytes_ = 0;
};

const BenchFile& File() {
  static const BenchFile file;
  return file;
}

void SetRates(benchmark::State& state, size_t bytes, size_t numbers) {
  state.SetBytesProcessed(static_cast<int64_t>(bytes * state.iterations()));
  state.SetItemsProcessed(static_cast<int64_t>(numbers * state.iterations()));
}

void BM_ReadWaveform(benchmark::State& state) {
  Waveform wf;
  for (auto _ : state) benchmark::DoNotOptimize(ReadWaveform(File().path(), wf));
  SetRates(state, File().bytes(), kSamples);
}
BENCHMARK(BM_ReadWaveform);

bool Contains(const std::string& line, const char* key) {
  return line.find(key) != std::string::npos;
}

// The reader loop as it was: a stream, a string per line, the six key tests on every line and
// strtod for every number.
void BM_ReadWaveformGetlineStrtod(benchmark::State& state) {
  std::vector<double> samples(MAX_SAMPLES);
  for (auto _ : state) {
    std::ifstream in(File().path(), std::ios::binary);
    std::string line;
    int n = 0;
    double header = 0;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (Contains(line, "DATE:") || Contains(line, "TIME:") || Contains(line, "UNITS") ||
          Contains(line, "CHANNEL NUMBER") || Contains(line, "TIME OF TEST"))
        header += 1;
      if (Contains(line, "SAMPLE INTERVAL")) header += ParseDoubleByStrtod(line.substr(26));
      if (n >= 9 && n - 9 < MAX_SAMPLES) samples[n - 9] = ParseDoubleByStrtod(line);
      ++n;
    }
    benchmark::DoNotOptimize(samples.data());
    benchmark::DoNotOptimize(header);
  }
  SetRates(state, File().bytes(), kSamples);
}
BENCHMARK(BM_ReadWaveformGetlineStrtod);

std::vector<std::string> SampleLines() {
  std::vector<std::string> lines;
  for (int k = 0; k < kSamples; ++k)
    lines.push_back(FormatF(std::sin(0.05 * k) * std::exp(-k / 1500.0)));
  return lines;
}

template <double (*Parse)(std::string_view)>
void BM_Parse(benchmark::State& state) {
  const std::vector<std::string> lines = SampleLines();
  size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size() + 2;
  for (auto _ : state) {
    double sum = 0;
    for (const std::string& line : lines) sum += Parse(line);
    benchmark::DoNotOptimize(sum);
  }
  SetRates(state, bytes, lines.size());
}
BENCHMARK(BM_Parse<ParseDouble>)->Name("BM_ParseDouble");
BENCHMARK(BM_Parse<ParseDoubleByStrtod>)->Name("BM_ParseDoubleByStrtod");

}  // namespace
}  // namespace plexo

BENCHMARK_MAIN();
