// plexo avg-fft (and fft) on folders that mix good recordings with files that cannot take part:
// samples that are not finite numbers, binary files, a file too short for one bin, and files on
// another sample count or interval. The table must be the one of the good files alone, for any
// --jobs, and every such file must be named.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RunPlexo;
using testing::TempDir;
using testing::WriteBytes;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line + "\n");
  return lines;
}

std::string Join(const std::vector<std::string>& lines, size_t count) {
  std::string text;
  for (size_t i = 0; i < count && i < lines.size(); ++i) text += lines[i];
  return text;
}

class AverageFftInputs : public ::testing::Test {
 protected:
  void SetUp() override {
    hit_ = Lines(ReadBytes(std::string(PLEXO_EXAMPLES_DIR) + "/hit_001.txt"));
    ASSERT_EQ(hit_.size(), 4105u);
  }
  // hit_001 with line `index` (0-based) replaced.
  std::string HitWith(size_t index, const std::string& line) const {
    std::vector<std::string> lines = hit_;
    lines[index] = line;
    return Join(lines, lines.size());
  }
  std::string Hit() const { return Join(hit_, hit_.size()); }
  std::string Folder(const TempDir& dir, const std::string& name) const {
    const std::string folder = dir.File(name);
    fs::create_directory(folder);
    return folder;
  }
  static std::string Table(const std::string& folder) {
    return ReadBytes(folder + "/avgFFTData/average_FFT.txt");
  }
  std::vector<std::string> hit_;
};

TEST_F(AverageFftInputs, AFileWithoutABinIsSkippedNotCountedInTheAverage) {
  TempDir dir;
  const std::string reference = Folder(dir, "reference");
  WriteBytes(reference + "/a.txt", Hit());
  WriteBytes(reference + "/c.txt", Hit());
  ASSERT_EQ(RunPlexo("avg-fft '" + reference + "'").status, 0);

  const std::string mixed = Folder(dir, "mixed");
  WriteBytes(mixed + "/a.txt", Hit());
  WriteBytes(mixed + "/b.txt", Join(hit_, 10));  // one sample: a transform of one point
  WriteBytes(mixed + "/c.txt", Hit());
  for (const char* jobs : {"1", "3"}) {
    SCOPED_TRACE(jobs);
    const testing::PlexoResult r = RunPlexo("avg-fft '" + mixed + "' --jobs " + jobs);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Averaged 2 waveform files (1 skipped, named above)"),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find(mixed + "/b.txt: 1 sample gives no frequency bin"), std::string::npos)
        << r.output;
    EXPECT_EQ(Table(mixed), Table(reference));
  }
}

TEST_F(AverageFftInputs, FilesThatAreNotFiniteOrNotTextAreSkippedByNameAndLine) {
  TempDir dir;
  const std::string reference = Folder(dir, "reference");
  WriteBytes(reference + "/a.txt", Hit());
  ASSERT_EQ(RunPlexo("avg-fft '" + reference + "'").status, 0);

  const std::string folder = Folder(dir, "bad");
  WriteBytes(folder + "/a.txt", Hit());
  WriteBytes(folder + "/nan.txt", HitWith(19, "nan\n"));
  WriteBytes(folder + "/overflow.txt", HitWith(100, "1e400\n"));
  // Finite samples whose transform overflows.
  WriteBytes(folder + "/too_large.txt", HitWith(100, "1e308\n") + "1.7e308\n1.7e308\n");
  std::string binary = Hit();
  binary[binary.size() / 2] = '\0';
  WriteBytes(folder + "/binary.txt", binary);
  for (const char* jobs : {"1", "4"}) {
    SCOPED_TRACE(jobs);
    const testing::PlexoResult r = RunPlexo("avg-fft '" + folder + "' --jobs " + jobs);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Averaged 1 waveform files (4 skipped, named above)"),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("\"nan\" on line 20 of " + folder + "/nan.txt"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("\"1e400\" on line 101 of " + folder + "/overflow.txt"),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find(folder + "/binary.txt holds a NUL byte on line"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find(folder + "/too_large.txt: its samples are too large"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(Table(folder), Table(reference));
  }

  // A single file with such a sample is refused by name, and nothing is written.
  const testing::PlexoResult r = RunPlexo("fft '" + folder + "/nan.txt'");
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find("\"nan\" on line 20 of " + folder + "/nan.txt"), std::string::npos)
      << r.output;
  EXPECT_FALSE(testing::Exists(folder + "/nan_fft.txt"));
}

TEST_F(AverageFftInputs, FilesOnAnotherGridAreAveragedWithAWarningNamingThem) {
  TempDir dir;
  const std::string folder = Folder(dir, "mixed");
  WriteBytes(folder + "/a.txt", Hit());
  WriteBytes(folder + "/b.txt", Join(hit_, 9 + 1000));
  WriteBytes(folder + "/c.txt", HitWith(3, "SAMPLE INTERVAL (Seconds):   2.000000e-007\n"));
  WriteBytes(folder + "/d.txt", Hit());
  const testing::PlexoResult r = RunPlexo("avg-fft '" + folder + "'");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("Averaged 4 waveform files"), std::string::npos) << r.output;
  const std::string first =
      ", the first file " + folder + "/a.txt: 4096 samples at 1.000000e-007 s";
  EXPECT_NE(r.output.find(folder + "/b.txt: 1000 samples at 1.000000e-007 s" + first),
            std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find(folder + "/c.txt: 4096 samples at 2.000000e-007 s" + first),
            std::string::npos)
      << r.output;
  EXPECT_EQ(r.output.find(folder + "/d.txt"), std::string::npos) << r.output;
}

}  // namespace
}  // namespace plexo
