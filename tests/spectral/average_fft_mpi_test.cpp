// plexo avg-fft under an MPI launcher: one rank writes the one-process table; two and more
// ranks write one table whatever their number, within rounding of the one-process table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "platform/file_system.h"
#include "signal/number_text.h"
#include "signal/waveform_file.h"
#include "spectral/average_fft.h"
#include "support/run_mpi.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::ReadBytes;
using testing::RunPlexo;
using testing::RunPlexoOnRanks;
using testing::TempDir;

// `count` noise files of 900 to 5100 samples in list order; the file at `empty` holds no data.
std::vector<std::string> WriteFolder(const TempDir& dir, int count, int empty) {
  WaveformHeader header;
  header.sampleInterval = 2e-7;
  header.channel = 2;
  unsigned seed = 11;
  for (int f = 0; f < count; ++f) {
    char name[32];
    std::snprintf(name, sizeof name, "n%d.txt", 100 + f);
    const std::string path = dir / name;
    if (f == empty) {
      testing::WriteBytes(path, "nothing\n");
      continue;
    }
    std::vector<double> x(f % 4 == 0 ? 4096 : 900 + 61 * f);
    for (double& v : x) {
      seed = seed * 1103515245u + 12345u;
      v = static_cast<int>((seed >> 8) % 2001) / 1000.0 - 1.0;
    }
    EXPECT_TRUE(WriteWaveformSci(path, x.data(), static_cast<int>(x.size()), header));
  }
  return ListTxtFiles(dir.path());
}

struct Outputs {
  std::string table, preview, printed;
  int status = -1;
};

Outputs Average(const TempDir& dir, int ranks) {
  std::remove(AverageFftTablePath(dir.path()).c_str());
  std::remove(AverageFftPreviewPath(dir.path()).c_str());
  const auto run =
      ranks == 0 ? RunPlexo("avg-fft " + dir.path() + " --window none")
                 : RunPlexoOnRanks(ranks, "avg-fft " + dir.path() + " --window none --jobs 1");
  return {ReadBytes(AverageFftTablePath(dir.path())), ReadBytes(AverageFftPreviewPath(dir.path())),
          run.output, run.status};
}

// Where two tables part: the first line that differs, or empty when they are the same.
std::string FirstDifference(const std::string& a, const std::string& b) {
  const size_t at = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
  if (at == a.size() && a.size() == b.size()) return {};
  const size_t line = a.rfind('\n', at) == std::string::npos ? 0 : a.rfind('\n', at) + 1;
  return a.substr(line, a.find('\r', at) - line) + " | " + b.substr(line, b.find('\r', at) - line);
}

std::vector<double> Numbers(const std::string& table) {
  std::vector<double> values;
  std::string token;
  const size_t titles = table.find("\r\n");
  if (titles == std::string::npos) return values;
  for (size_t i = titles + 2; i < table.size(); ++i) {
    const char c = table[i];
    if (c != '\t' && c != '\r' && c != '\n') {
      token += c;
    } else if (!token.empty()) {
      values.push_back(ParseDouble(token));
      token.clear();
    }
  }
  return values;
}

class AverageFftOnRanks : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::MpiLauncher().empty()) GTEST_SKIP() << "plexo-mpi or mpirun not built/found";
  }
};

TEST_F(AverageFftOnRanks, SameTableForEveryRankCountWithinRoundingOfOneProcess) {
  TempDir dir;
  WriteFolder(dir, 70, 33);  // 5 blocks of 16 files (the last one of 6)
  const Outputs one_process = Average(dir, 0);
  ASSERT_EQ(one_process.status, 0) << one_process.printed;

  const Outputs one_rank = Average(dir, 1);
  EXPECT_EQ(one_rank.status, 0) << one_rank.printed;
  EXPECT_EQ(FirstDifference(one_rank.table, one_process.table), "");
  EXPECT_EQ(one_rank.preview, one_process.preview);

  const Outputs two = Average(dir, 2);
  ASSERT_EQ(two.status, 0) << two.printed;
  EXPECT_NE(two.printed.find("Averaged 69 waveform files (1 skipped, named above)"),
            std::string::npos)
      << two.printed;
  for (int ranks : {3, 4}) {
    const Outputs more = Average(dir, ranks);
    EXPECT_EQ(more.status, 0) << more.printed;
    EXPECT_EQ(FirstDifference(more.table, two.table), "") << ranks << " ranks";
    EXPECT_EQ(more.preview, two.preview) << ranks << " ranks";
  }

  const std::vector<double> shared = Numbers(two.table), single = Numbers(one_process.table);
  ASSERT_EQ(shared.size(), single.size());
  ASSERT_EQ(shared.size(), 7u * 4096);  // the grid of the last file, 5109 samples
  for (size_t i = 0; i < shared.size(); ++i) {
    // Seven digits in "%e": sums that differ in rounding differ there by one unit at most.
    const double a = shared[i], b = single[i];
    EXPECT_LE(std::abs(a - b), 1.01e-6 * std::max(std::abs(a), std::abs(b)) + 1e-12)
        << "value " << i;
  }
}

TEST_F(AverageFftOnRanks, SumsThatCancelComeOutTheSameForEveryRankCount) {
  // Constant waveforms: bin 0 holds 1023 times the constant. Two huge ones of opposite sign in
  // the first and second block cancel; the small ones keep their digits only when the blocks
  // combine in the one fixed order (a sum per rank, then across ranks, would lose them).
  TempDir dir;
  WaveformHeader header;
  header.sampleInterval = 1e-7;
  for (int f = 0; f < 40; ++f) {
    const double level = f == 0 ? 1e12 : f == 20 ? -1e12 : 1.0 + 1e-3 * f;
    const std::vector<double> x(1024, level);
    char name[32];
    std::snprintf(name, sizeof name, "c%d.txt", 100 + f);
    ASSERT_TRUE(WriteWaveformSci(dir / name, x.data(), 1024, header));
  }
  const Outputs two = Average(dir, 2);
  ASSERT_EQ(two.status, 0) << two.printed;
  for (int ranks : {3, 4}) {
    const Outputs more = Average(dir, ranks);
    EXPECT_EQ(more.status, 0) << more.printed;
    EXPECT_EQ(FirstDifference(more.table, two.table), "") << ranks << " ranks";
  }
}

// The notes of one process (files skipped for their content, files on another grid than the
// first file averaged) come out the same on ranks, in file order, however the files are shared.
TEST_F(AverageFftOnRanks, NotesNameTheSameFilesAsOneProcess) {
  TempDir dir;
  std::vector<std::string> files = WriteFolder(dir, 40, 0);  // the first file holds no data
  testing::WriteBytes(files[21], ReadBytes(files[20]) + "nan\n");
  auto notes = [](const std::string& printed) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < printed.size()) {
      const size_t end = std::min(printed.find('\n', at), printed.size());
      const std::string line = printed.substr(at, end - at);
      if (line.find(".txt") != std::string::npos || line.find("Averaged") != std::string::npos)
        lines.push_back(line);
      at = end + 1;
    }
    return lines;
  };
  const Outputs one = Average(dir, 0);
  ASSERT_EQ(one.status, 0) << one.printed;
  const std::vector<std::string> expected = notes(one.printed);
  ASSERT_NE(one.printed.find("the first file " + files[1]), std::string::npos) << one.printed;
  ASSERT_NE(one.printed.find("of " + files[21]), std::string::npos) << one.printed;
  for (int ranks : {2, 3}) {
    SCOPED_TRACE(ranks);
    const Outputs many = Average(dir, ranks);
    EXPECT_EQ(many.status, 0) << many.printed;
    EXPECT_EQ(notes(many.printed), expected) << many.printed;
  }
}

TEST_F(AverageFftOnRanks, LongFileOfALaterRankRefusesAndWritesNothing) {
  TempDir dir;
  const std::vector<std::string> files = WriteFolder(dir, 40, -1);
  const std::vector<double> x(MAX_SAMPLES + 1, 0.5);
  WaveformHeader header;
  header.sampleInterval = 2e-7;
  ASSERT_TRUE(WriteWaveformSci(files[37], x.data(), MAX_SAMPLES + 1, header));
  MakeDirectory(AverageFftFolder(dir.path()));
  testing::WriteBytes(AverageFftTablePath(dir.path()), "earlier\r\n");
  const auto run = RunPlexoOnRanks(3, "avg-fft " + dir.path() + " --jobs 1");
  EXPECT_EQ(run.status, 1);
  const std::string message = "Sampling size of 16385 exceeds program limit of 16384!";
  const size_t first = run.output.find(message);
  EXPECT_NE(first, std::string::npos) << run.output;
  EXPECT_EQ(run.output.find(message, first + 1), std::string::npos) << run.output;
  EXPECT_EQ(ReadBytes(AverageFftTablePath(dir.path())), "earlier\r\n");
  EXPECT_FALSE(IsRegularFile(AverageFftPreviewPath(dir.path())));
}

// The table that `plexo fft` leaves in the folder is skipped and named on ranks as in one
// process; --strict stops every rank at it, and nothing is written.
TEST_F(AverageFftOnRanks, AFileWithoutSampleIntervalIsSkippedOrStopsAStrictRun) {
  TempDir dir;
  const std::vector<std::string> files = WriteFolder(dir, 40, -1);
  ASSERT_EQ(RunPlexo("fft " + files[20]).status, 0);
  const std::string table = files[20].substr(0, files[20].size() - 4) + "_fft.txt";
  // Its lines hold three numbers each: the reader refuses the first data line.
  const std::string named = "on line 10 of " + table + " is not a single number!";
  const Outputs one = Average(dir, 0);
  ASSERT_EQ(one.status, 0) << one.printed;
  EXPECT_NE(one.printed.find("(1 skipped, named above)"), std::string::npos) << one.printed;
  std::string ranked;  // the block sums make one table for every rank count
  for (int ranks : {2, 3}) {
    SCOPED_TRACE(ranks);
    const Outputs many = Average(dir, ranks);
    EXPECT_EQ(many.status, 0) << many.printed;
    EXPECT_NE(many.printed.find(named), std::string::npos) << many.printed;
    EXPECT_NE(many.printed.find("Averaged 40 waveform files (1 skipped, named above)"),
              std::string::npos)
        << many.printed;
    if (ranked.empty()) ranked = many.table;
    EXPECT_EQ(many.table, ranked);
    EXPECT_FALSE(many.table.empty());
    std::remove(AverageFftTablePath(dir.path()).c_str());
    const auto strict =
        RunPlexoOnRanks(ranks, "avg-fft " + dir.path() + " --window none --jobs 1 --strict");
    EXPECT_NE(strict.status, 0) << strict.output;
    EXPECT_NE(strict.output.find(named), std::string::npos) << strict.output;
    EXPECT_FALSE(testing::Exists(AverageFftTablePath(dir.path())));
  }
}

}  // namespace
}  // namespace plexo
