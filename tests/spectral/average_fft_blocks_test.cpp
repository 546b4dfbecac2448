// The Average FFT in blocks: the same sums however the blocks are shared out, those of a
// literal twin (block sums from zero, the tree as defined), and a table within rounding of the
// one-process table.
#include "spectral/average_fft_blocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "platform/file_system.h"
#include "platform/recording_host.h"
#include "signal/number_text.h"
#include "signal/waveform_file.h"
#include "spectral/fft.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::ReadBytes;
using testing::TempDir;

// Deterministic noise with three decimals, exact in the file's text.
std::vector<double> Noise(int count, unsigned seed) {
  std::vector<double> x(static_cast<size_t>(count));
  for (double& v : x) {
    seed = seed * 1103515245u + 12345u;
    v = static_cast<int>((seed >> 8) % 2001) / 1000.0 - 1.0;
  }
  return x;
}

// `count` files of 700 to 2700 samples (transforms of 1024 to 4096), named in list order; the
// file at `empty` holds no data and is skipped.
void WriteFolder(const std::string& folder, int count, int empty = -1) {
  WaveformHeader header;
  header.sampleInterval = 1e-7;
  header.channel = 1;
  for (int f = 0; f < count; ++f) {
    const std::string path = JoinPath(folder, "hit" + std::to_string(100 + f) + ".txt");
    if (f == empty) {
      std::ofstream(path) << "no\ndata\n";
      continue;
    }
    const int samples = f % 3 == 0 ? 2048 : 700 + 37 * f;
    const std::vector<double> x = Noise(samples, 7 + f);
    ASSERT_TRUE(WriteWaveformSci(path, x.data(), samples, header));
  }
}

// The literal twin: each file read, padded and transformed, its bins added to its block's sums
// from zero in file order; the blocks combined by the tree's definition.
struct Sums {
  std::vector<double> re, im, a, q, lo, hi;
  std::vector<char> seen;
  int files = 0;
  Sums()
      : re(MAX_SAMPLES),
        im(MAX_SAMPLES),
        a(MAX_SAMPLES),
        q(MAX_SAMPLES),
        lo(MAX_SAMPLES),
        hi(MAX_SAMPLES),
        seen(MAX_SAMPLES, 0) {}
};

Sums Combine(Sums l, const Sums& r) {
  for (int i = 0; i < MAX_SAMPLES; ++i) {
    l.re[i] += r.re[i];
    l.im[i] += r.im[i];
    l.a[i] += r.a[i];
    l.q[i] += r.q[i];
    if (!r.seen[i]) continue;
    l.lo[i] = l.seen[i] ? std::min(l.lo[i], r.lo[i]) : r.lo[i];
    l.hi[i] = l.seen[i] ? std::max(l.hi[i], r.hi[i]) : r.hi[i];
    l.seen[i] = 1;
  }
  l.files += r.files;
  return l;
}

Sums BlockSums(const std::vector<std::string>& files, size_t first, size_t end) {
  Sums s;
  Waveform wf;
  for (size_t f = first; f < end; ++f) {
    const int count = ReadWaveform(files[f], wf);
    if (count <= 0) continue;
    const TransformSizeResult size = TransformSize(count);
    for (int i = count; i < size.n; ++i) wf.samples[i] = {};
    FFT(FftDirection::kForward, size.m, wf.samples.data());
    for (int i = 0; i < size.n / 2; ++i) {
      const double g = std::hypot(wf.samples[i].re, wf.samples[i].im);
      s.re[i] += wf.samples[i].re;
      s.im[i] += wf.samples[i].im;
      s.a[i] += g;
      s.q[i] += g * g;
      s.lo[i] = s.seen[i] ? std::min(s.lo[i], g) : g;
      s.hi[i] = s.seen[i] ? std::max(s.hi[i], g) : g;
      s.seen[i] = 1;
    }
    ++s.files;
  }
  return s;
}

Sums Tree(const std::vector<Sums>& blocks, int level, size_t index) {
  if (level == 0) return blocks[index];
  Sums left = Tree(blocks, level - 1, 2 * index);
  if (((2 * index + 1) << (level - 1)) >= blocks.size()) return left;
  return Combine(std::move(left), Tree(blocks, level - 1, 2 * index + 1));
}

Sums LiteralTotal(const std::vector<std::string>& files) {
  std::vector<Sums> blocks;
  for (size_t first = 0; first < files.size(); first += kAverageFftBlockFiles)
    blocks.push_back(
        BlockSums(files, first, std::min(files.size(), first + kAverageFftBlockFiles)));
  int level = 0;
  while ((size_t{1} << level) < blocks.size()) ++level;
  return Tree(blocks, level, 0);
}

// The blocks summed in runs of `lengths` blocks (as ranks would), then folded in order.
SpectrumSums SumInRuns(const std::vector<std::string>& files, const std::vector<int>& lengths,
                       int jobs) {
  SpectrumFold total = MakeSpectrumFold();
  std::vector<FileSpectrum> slots;
  int first = 0;
  for (int length : lengths) {
    SpectrumBlocksPart part =
        SumSpectrumBlocks(WaveformFiles(files), first, first + length, FirstAveragedFile{}, 0, jobs,
                          slots, [](int) { return true; });
    EXPECT_EQ(part.refusedFile, -1) << part.message;
    for (auto& node : part.nodes) total.Push(node.level, node.index, std::move(node.value));
    first += length;
  }
  return total.Finish();
}

class BlockRuns : public ::testing::TestWithParam<std::vector<int>> {};

TEST_P(BlockRuns, GiveTheLiteralTreeBitForBit) {
  TempDir dir;
  WriteFolder(dir.path(), 55, 20);  // blocks of 16, 16, 16, 7
  const std::vector<std::string> files = ListTxtFiles(dir.path());
  ASSERT_EQ(SpectrumBlockCount(static_cast<int>(files.size())), 4);
  const Sums expected = LiteralTotal(files);
  const SpectrumSums sums = SumInRuns(files, GetParam(), 2);
  EXPECT_EQ(sums.files, 54);
  ASSERT_EQ(sums.bins, 2048);  // the longest file, 2661 samples
  int differing = 0;
  for (int i = 0; i < sums.bins; ++i) {
    differing += sums.re[i] != expected.re[i] || sums.im[i] != expected.im[i] ||
                 sums.magnitude[i] != expected.a[i] || sums.square[i] != expected.q[i] ||
                 sums.minimum[i] != expected.lo[i] || sums.maximum[i] != expected.hi[i];
  }
  EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(Splits, BlockRuns,
                         ::testing::Values(std::vector<int>{4}, std::vector<int>{1, 3},
                                           std::vector<int>{2, 2}, std::vector<int>{3, 1},
                                           std::vector<int>{1, 1, 2}, std::vector<int>{1, 2, 1},
                                           std::vector<int>{0, 1, 1, 1, 1}));

std::vector<std::vector<double>> TableNumbers(const std::string& path) {
  std::vector<std::vector<double>> rows;
  const std::string bytes = ReadBytes(path);
  size_t start = bytes.find("\r\n") + 2;  // after the titles
  while (start < bytes.size()) {
    const size_t end = bytes.find("\r\n", start);
    std::vector<double> row;
    for (size_t at = start; at < end;) {
      const size_t tab = std::min(bytes.find('\t', at), end);
      row.push_back(ParseDouble(std::string_view(bytes).substr(at, tab - at)));
      at = tab + 1;
    }
    rows.push_back(row);
    start = end + 2;
  }
  return rows;
}

CalcStatus BlockedTable(const std::string& folder) {
  const std::vector<std::string> files = ListTxtFiles(folder);
  const SpectrumSums total = SumInRuns(files, {SpectrumBlockCount(int(files.size()))}, 1);
  AverageFftWorkspace ws;
  RecordingHost host;
  const WaveformFiles source(files);
  return FinishBlockedAverageFFT(ws, total, source, source.Count() - 1, 0, folder, host);
}

TEST(AverageFftBlocks, TableIsWithinRoundingOfTheOneProcessTable) {
  TempDir dir;
  WriteFolder(dir.path(), 55, 20);
  AverageFftWorkspace ws;
  RecordingHost host;
  NullProgress progress;
  ASSERT_EQ(AverageFFT(ws, dir.path(), 0, progress, host, 1), CalcStatus::kDone);
  const auto one_process = TableNumbers(AverageFftTablePath(dir.path()));
  ASSERT_EQ(BlockedTable(dir.path()), CalcStatus::kDone);
  const auto blocked = TableNumbers(AverageFftTablePath(dir.path()));
  ASSERT_EQ(blocked.size(), one_process.size());
  ASSERT_EQ(blocked.size(), 1024u);
  for (size_t row = 0; row < blocked.size(); ++row) {
    ASSERT_EQ(blocked[row].size(), 7u);
    for (size_t c = 0; c < 7; ++c) {
      const double a = blocked[row][c], b = one_process[row][c];
      // "%e" keeps seven digits: sums that differ in rounding differ there by one unit at most.
      EXPECT_LE(std::abs(a - b), 1.01e-6 * std::max(std::abs(a), std::abs(b)) + 1e-12)
          << "row " << row << " column " << c;
    }
  }
}

TEST(AverageFftBlocks, OneBlockIsTheOneProcessTable) {
  TempDir dir;
  WriteFolder(dir.path(), kAverageFftBlockFiles, 3);
  AverageFftWorkspace ws;
  RecordingHost host;
  NullProgress progress;
  ASSERT_EQ(AverageFFT(ws, dir.path(), 0, progress, host, 1), CalcStatus::kDone);
  const std::string one_process = ReadBytes(AverageFftTablePath(dir.path()));
  const std::string preview = ReadBytes(AverageFftPreviewPath(dir.path()));
  ASSERT_EQ(BlockedTable(dir.path()), CalcStatus::kDone);
  EXPECT_EQ(ReadBytes(AverageFftTablePath(dir.path())), one_process);
  EXPECT_EQ(ReadBytes(AverageFftPreviewPath(dir.path())), preview);
}

TEST(AverageFftBlocks, RefusesAtTheFirstLongFileOfItsRun) {
  TempDir dir;
  WriteFolder(dir.path(), 40);
  WaveformHeader header;
  header.sampleInterval = 1e-7;
  const std::vector<double> x(MAX_SAMPLES + 1, 0.25);
  const std::vector<std::string> files = ListTxtFiles(dir.path());
  for (int f : {35, 38}) ASSERT_TRUE(WriteWaveformSci(files[f], x.data(), MAX_SAMPLES + 1, header));
  std::vector<FileSpectrum> slots;
  int after = 0;
  const auto count = [&](int) { return ++after, true; };
  const SpectrumBlocksPart early =
      SumSpectrumBlocks(WaveformFiles(files), 0, 2, FirstAveragedFile{}, 0, 2, slots, count);
  EXPECT_EQ(early.refusedFile, -1);
  EXPECT_EQ(early.averaged, 32);
  EXPECT_EQ(early.nodes.size(), 1u);  // blocks 0 and 1 make one node
  EXPECT_EQ(after, 32);
  const SpectrumBlocksPart late =
      SumSpectrumBlocks(WaveformFiles(files), 2, 3, FirstAveragedFile{}, 0, 2, slots, count);
  EXPECT_EQ(late.refusedFile, 35);
  EXPECT_EQ(late.message, SampleLimitMessage(MAX_SAMPLES + 1, MAX_SAMPLES) + "\n" + files[35] +
                              ": 16385 sample lines; the run stops here.");
  EXPECT_EQ(after, 32 + 3);
}

}  // namespace
}  // namespace plexo
