// The review's logic as the desktop's window drives it: shown hits, moved and rejected picks,
// and the file it saves, against the file plexo onsets writes with the same rows edited by hand.
#include "features/onset_review.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "features/onset_run.h"
#include "platform/recording_host.h"
#include "signal/number_text.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RunPlexo;
using testing::TempDir;
using testing::WriteBytes;

void CopyExamples(const TempDir& dir) {
  for (const auto& entry : fs::directory_iterator(PLEXO_EXAMPLES_DIR))
    if (entry.path().extension() == ".txt")
      fs::copy_file(entry.path(), dir / entry.path().filename().string());
}

// The file plexo onsets writes for the folder (then removed again).
std::string CommandLineFile(const TempDir& dir) {
  EXPECT_EQ(RunPlexo("onsets " + dir.path() + " -q").status, 0);
  const std::string text = ReadBytes(OnsetFilePath(dir.path()));
  fs::remove(OnsetFilePath(dir.path()));
  return text;
}

// `text` with cell `cell` of the row of `name` replaced.
std::string WithCell(std::string text, const std::string& name, int cell,
                     const std::string& value) {
  size_t at = text.find("\n" + name + "\t") + 1;
  for (int c = 0; c < cell; ++c) at = text.find('\t', at) + 1;
  return text.replace(at, text.find('\t', at) - at, value);
}

std::string Cell(const std::string& text, const std::string& name, int cell) {
  size_t at = text.find("\n" + name + "\t") + 1;
  for (int c = 0; c < cell; ++c) at = text.find('\t', at) + 1;
  return text.substr(at, text.find('\t', at) - at);
}

TEST(OnsetReviewTest, SavesThePicksItWasShownAndTheOnesItWasNot) {
  TempDir dir;
  CopyExamples(dir);
  const std::string picked = CommandLineFile(dir);
  OnsetReview review;
  std::string why;
  ASSERT_TRUE(review.Open(dir.path(), why, MAX_SAMPLES, 100e-6)) << why;
  ASSERT_EQ(review.Count(), 6);
  EXPECT_FALSE(review.Modified());

  // hit_002: the pick moved 10 samples on; hit_004: rejected; the others never shown.
  ASSERT_TRUE(review.Show(1, why)) << why;
  EXPECT_FALSE(review.Modified());
  const int automatic = review.CurrentRow()->automaticSample;
  EXPECT_EQ(std::to_string(automatic), Cell(picked, "hit_002.txt", 1));
  const double dt = review.CurrentWaveform().sampleInterval;
  const double timeOfTest = review.CurrentWaveform().timeOfTest;
  review.MovePickTo((automatic + 10.3) * dt);
  EXPECT_EQ(review.CurrentRow()->correctedSample, automatic + 10);
  EXPECT_EQ(review.CurrentRow()->state, OnsetState::kCorrected);
  EXPECT_TRUE(review.Modified());
  const ChartData chart = review.CurrentChart();
  ASSERT_EQ(chart.panels.size(), 2u);
  ASSERT_EQ(chart.panels[1].markers.size(), 2u);
  EXPECT_EQ(chart.panels[1].markers[1].x, (automatic + 10) * dt);
  ASSERT_TRUE(review.Show(3, why)) << why;
  review.ToggleRejected();

  RecordingHost host;
  NullProgress progress;
  ASSERT_EQ(review.Save(progress, host, 2), CalcStatus::kDone);
  EXPECT_FALSE(review.Modified());
  std::string expected = WithCell(picked, "hit_002.txt", 3, std::to_string(automatic + 10));
  expected = WithCell(expected, "hit_002.txt", 4, FormatE((automatic + 10) * dt + timeOfTest, 14));
  expected = WithCell(expected, "hit_002.txt", 5, "corrected");
  expected = WithCell(expected, "hit_004.txt", 5, "rejected");
  EXPECT_EQ(ReadBytes(review.Path()), expected);
  EXPECT_NE(Cell(expected, "hit_002.txt", 4), Cell(picked, "hit_002.txt", 4));

  // Opened again on that file: the corrections are there, nothing is modified by looking, and a
  // save writes the same bytes.
  OnsetReview again;
  ASSERT_TRUE(again.Open(dir.path(), why)) << why;
  for (int k = 0; k < again.Count(); ++k) ASSERT_TRUE(again.Show(k, why)) << why;
  EXPECT_FALSE(again.Modified());
  ASSERT_TRUE(again.Show(3, why));
  EXPECT_EQ(again.CurrentRow()->state, OnsetState::kRejected);
  ASSERT_EQ(again.Save(progress, host, 1), CalcStatus::kDone);
  EXPECT_EQ(ReadBytes(review.Path()), expected);
}

TEST(OnsetReviewTest, PicksMoveWithinTheRecordAndRejectionsHold) {
  TempDir dir;
  CopyExamples(dir);
  OnsetReview review;
  std::string why;
  ASSERT_TRUE(review.Open(dir.path(), why)) << why;
  ASSERT_TRUE(review.Show(0, why)) << why;
  const int automatic = review.CurrentRow()->automaticSample;
  review.MovePick(-50);
  EXPECT_EQ(review.CurrentRow()->correctedSample, 0);
  review.MovePick(1 << 20);
  EXPECT_EQ(review.CurrentRow()->correctedSample, review.CurrentWaveform().count - 1);
  review.MovePick(automatic);  // back on the automatic pick
  EXPECT_EQ(review.CurrentRow()->state, OnsetState::kAutomatic);
  review.ToggleRejected();
  review.MovePick(automatic + 3);
  EXPECT_EQ(review.CurrentRow()->state, OnsetState::kRejected);
  review.ToggleRejected();
  EXPECT_EQ(review.CurrentRow()->state, OnsetState::kCorrected);
  EXPECT_EQ(review.CurrentRow()->correctedSample, automatic + 3);
}

TEST(OnsetReviewTest, KeepsTheCorrectionsOfHitsNoLongerThereAndNamesUnreadableOnes) {
  TempDir dir;
  CopyExamples(dir);
  std::string text = CommandLineFile(dir);
  text = WithCell(text, "hit_006.txt", 5, "rejected");
  WriteBytes(OnsetFilePath(dir.path()), text);
  fs::remove(dir / "hit_006.txt");
  WriteBytes(dir / "README.txt", "not a waveform\r\n");
  OnsetReview review;
  std::string why;
  ASSERT_TRUE(review.Open(dir.path(), why)) << why;
  ASSERT_EQ(review.Count(), 6);  // five hits and the README
  EXPECT_FALSE(review.Show(0, why));
  EXPECT_NE(why.find("README.txt"), std::string::npos) << why;
  EXPECT_EQ(review.CurrentRow(), nullptr);
  EXPECT_TRUE(review.CurrentChart().panels.empty());
  review.MovePick(5);  // nothing to move
  EXPECT_FALSE(review.Modified());
  EXPECT_FALSE(review.Show(6, why));
  EXPECT_FALSE(review.Show(-1, why));
  RecordingHost host;
  NullProgress progress;
  ASSERT_EQ(review.Save(progress, host), CalcStatus::kDone);
  ASSERT_EQ(review.Skipped().All().size(), 1u);
  // The README has no row; hit_006's rejection is still there, last.
  EXPECT_EQ(ReadBytes(review.Path()), text);

  WriteBytes(OnsetFilePath(dir.path()), text + "broken\r\n");
  EXPECT_FALSE(review.Open(dir.path(), why));
  EXPECT_NE(why.find(": line 9: a row has 6 cells"), std::string::npos) << why;
}

}  // namespace
}  // namespace plexo
