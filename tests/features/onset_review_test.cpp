// The onset review without a window, as the desktop's window drives it: what a chosen path
// stands for, stepping through the hits, moving and rejecting picks, the file it saves (checked
// against the one `plexo onsets` writes), an earlier file's corrections, closing with changes.
#include "features/onset_review.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "feature_test_data.h"
#include "features/feature_extraction.h"
#include "features/feature_params.h"
#include "platform/recording_host.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RunPlexo;
using testing::TempDir;
using testing::WriteBytes;

constexpr double kDt = 1e-7;
constexpr int kCount = 2000;
// Bursts at these samples; the picker lands at or near each.
const int kBursts[] = {400, 700, 1100};

// A folder of three hits (and a stray file the listing does not take).
void MakeHits(const std::string& folder) {
  for (int i = 0; i < 3; ++i) {
    testing::WriteWaveformFile(folder + "/hit_00" + std::to_string(i + 1) + ".txt",
                               testing::BurstSamples(kCount, kBursts[i], 150e3, 320e3, kDt, i + 1),
                               kDt, 10.0 + i);
  }
  WriteBytes(folder + "/notes.dat", "not a waveform");
}

// The rows of a CR LF table, header and units lines included, without their line ends.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return lines;
}

// Cell `cell` of a tab-separated line.
std::string CellOf(const std::string& line, int cell) {
  size_t start = 0;
  for (int i = 0; i < cell; ++i) start = line.find('\t', start) + 1;
  return line.substr(start, line.find('\t', start) - start);
}

// The line of a table naming `name`, or empty.
std::string LineOf(const std::string& table, const std::string& name) {
  for (const std::string& line : Lines(table))
    if (line.rfind(name + "\t", 0) == 0) return line;
  return {};
}

// The arrival time of a sample as the tables print it ("%1.14e", three-digit exponent).
std::string PrintedTime(int sample, double timeOfTest) {
  char text[64];
  std::snprintf(text, sizeof text, "%.14e", sample * kDt + timeOfTest);
  std::string s = text;
  const size_t e = s.find('e');
  std::string digits = s.substr(e + 2);
  while (digits.size() < 3) digits = "0" + digits;
  return s.substr(0, e + 2) + digits;
}

FeatureSettings Settings() {
  FeatureSettings settings = DefaultFeatureSettings();
  settings.useAic = true;
  return settings;
}

TEST(OnsetReviewInputTest, AChosenPathStandsForItsFolderOrDatabase) {
  TempDir dir;
  MakeHits(dir.path());
  fs::create_directories(dir / "FXData");
  WriteBytes(dir / "FXData/Onsets.txt", "");
  WriteBytes(dir / "test.tradb", "");
  fs::create_directories(dir / "test_FXData");
  WriteBytes(dir / "test_FXData/Onsets.txt", "");
  fs::create_directories(dir / "other_FXData");
  WriteBytes(dir / "other_FXData/Onsets.txt", "");
  struct Case {
    std::string chosen, input, startAt;
  };
  const Case cases[] = {
      {dir.path(), dir.path(), ""},
      {dir / "hit_002.txt", dir.path(), "hit_002.txt"},
      {dir / "FXData/Onsets.txt", dir.path(), ""},
      {dir / "test.tradb", dir / "test.tradb", ""},
      {dir / "test_FXData/Onsets.txt", dir / "test.tradb", ""},
      // No database of that name beside it: an onsets file of a folder "other_FXData".
      {dir / "other_FXData/Onsets.txt", dir / "other_FXData", "Onsets.txt"},
  };
  for (const Case& c : cases) {
    const OnsetReviewInput what = ReviewInputOf(c.chosen);
    EXPECT_EQ(what.input, c.input) << c.chosen;
    EXPECT_EQ(what.startAt, c.startAt) << c.chosen;
  }
}

TEST(OnsetReviewTest, AnUntouchedReviewSavesTheFileOfTheOnsetsCommand) {
  TempDir mine, theirs;
  MakeHits(mine.path());
  MakeHits(theirs.path());
  ASSERT_EQ(RunPlexo("onsets " + theirs.path()).status, 0);
  RecordingHost host;
  OnsetReview review(host);
  ASSERT_TRUE(review.Open(mine.path(), Settings()));
  EXPECT_EQ(review.Count(), 3);
  EXPECT_EQ(review.Current(), 0);
  EXPECT_EQ(review.OnsetsPath(), mine / "FXData/Onsets.txt");
  EXPECT_FALSE(review.Dirty());
  EXPECT_TRUE(review.MayClose()) << "nothing to lose: no question";
  EXPECT_TRUE(host.questions.empty());
  // Only the first hit was looked at; saving picks the others.
  ASSERT_TRUE(review.Save());
  EXPECT_EQ(ReadBytes(review.OnsetsPath()), ReadBytes(theirs / "FXData/Onsets.txt"));
  EXPECT_EQ(host.written, std::vector<std::string>{review.OnsetsPath()});
  EXPECT_TRUE(host.messages.empty());
}

TEST(OnsetReviewTest, StepsThroughTheHitsFromTheChosenOneAndStopsAtTheEnds) {
  TempDir dir;
  MakeHits(dir.path());
  RecordingHost host;
  OnsetReview review(host);
  ASSERT_TRUE(review.Open(dir / "hit_002.txt", Settings()));
  EXPECT_EQ(review.Current(), 1);
  EXPECT_EQ(review.Row().name, "hit_002.txt");
  EXPECT_NE(review.StatusLine().find("Hit 2 of 3: hit_002.txt"), std::string::npos)
      << review.StatusLine();
  EXPECT_TRUE(review.Next());
  EXPECT_EQ(review.Row().name, "hit_003.txt");
  EXPECT_FALSE(review.Next()) << "the last hit";
  EXPECT_EQ(review.Current(), 2);
  EXPECT_TRUE(review.Previous());
  EXPECT_TRUE(review.Previous());
  EXPECT_FALSE(review.Previous()) << "the first hit";
  EXPECT_EQ(review.Row().name, "hit_001.txt");
  // The chart is the shown hit's: its waveform over the whole record, two panels.
  ASSERT_EQ(review.Chart().panels.size(), 2u);
  EXPECT_DOUBLE_EQ(review.Chart().full_x.high, kCount * kDt);
  EXPECT_FALSE(review.Dirty()) << "looking changes nothing";
}

TEST(OnsetReviewTest, APickGoesToTheNearestSampleAndRIsUndoneByR) {
  TempDir dir;
  MakeHits(dir.path());
  RecordingHost host;
  OnsetReview review(host);
  ASSERT_TRUE(review.Open(dir.path(), Settings()));
  const int automatic = review.Row().automaticSample;
  // A click 0.4 samples right of sample 380 picks 380, 0.6 right of it picks 381.
  review.PickAt(380.4 * kDt);
  EXPECT_EQ(review.Row().correctedSample, 380);
  EXPECT_EQ(review.Row().state, OnsetState::kCorrected);
  review.PickAt(380.6 * kDt);
  EXPECT_EQ(review.Row().correctedSample, 381);
  EXPECT_TRUE(review.Dirty());
  EXPECT_NE(review.StatusLine().find("corrected pick: sample 381   corrected   (not saved)"),
            std::string::npos)
      << review.StatusLine();
  // A drag past either end keeps to the waveform.
  review.PickAt(-5e-6);
  EXPECT_EQ(review.Row().correctedSample, 0);
  review.PickAt(1.0);
  EXPECT_EQ(review.Row().correctedSample, kCount - 1);
  // Back on the automatic sample: automatic again.
  review.PickSample(automatic);
  EXPECT_EQ(review.Row().state, OnsetState::kAutomatic);
  EXPECT_EQ(review.Row().correctedTime, review.Row().automaticTime);

  review.ToggleRejected();
  EXPECT_EQ(review.Row().state, OnsetState::kRejected);
  review.ToggleRejected();
  EXPECT_EQ(review.Row().state, OnsetState::kAutomatic) << "kept again, on the automatic pick";
  // A rejected hit stays rejected when its pick moves; kept again, it is corrected.
  review.ToggleRejected();
  review.PickSample(420);
  EXPECT_EQ(review.Row().state, OnsetState::kRejected);
  EXPECT_EQ(review.Row().correctedSample, 420);
  review.ToggleRejected();
  EXPECT_EQ(review.Row().state, OnsetState::kCorrected);
  // The chart follows: the corrected pick is marked on both panels beside the automatic one.
  ASSERT_EQ(review.Chart().panels[1].markers.size(), 2u);
  EXPECT_DOUBLE_EQ(review.Chart().panels[1].markers[1].x, 420 * kDt);
}

TEST(OnsetReviewTest, TheSavedFileHoldsExactlyTheChangedRows) {
  TempDir dir, plain;
  MakeHits(dir.path());
  MakeHits(plain.path());
  ASSERT_EQ(RunPlexo("onsets " + plain.path()).status, 0);
  const std::string automatic = ReadBytes(plain / "FXData/Onsets.txt");
  RecordingHost host;
  OnsetReview review(host);
  ASSERT_TRUE(review.Open(dir.path(), Settings()));
  review.PickSample(390);  // hit_001: corrected
  ASSERT_TRUE(review.Next());
  review.ToggleRejected();  // hit_002: rejected
  ASSERT_TRUE(review.Save());
  EXPECT_FALSE(review.Dirty());
  const std::string saved = ReadBytes(review.OnsetsPath());

  // The automatic file with two rows edited by hand.
  std::vector<std::string> expected = Lines(automatic);
  for (std::string& line : expected) {
    if (line.rfind("hit_001.txt\t", 0) == 0) {
      line = "hit_001.txt\t" + CellOf(line, 1) + "\t" + CellOf(line, 2) + "\t390\t" +
             PrintedTime(390, 10.0) + "\tcorrected\t";
    } else if (line.rfind("hit_002.txt\t", 0) == 0) {
      line = line.substr(0, line.rfind("automatic")) + "rejected\t";
    }
  }
  std::string joined;
  for (const std::string& line : expected) joined += line + "\r\n";
  EXPECT_EQ(saved, joined);
}

TEST(OnsetReviewTest, AnEarlierFileKeepsItsCorrectionsAndRowsOfWaveformsGone) {
  TempDir dir;
  MakeHits(dir.path());
  ASSERT_EQ(RunPlexo("onsets " + dir.path()).status, 0);
  const std::string path = dir / "FXData/Onsets.txt";
  std::string text = ReadBytes(path);
  // Corrected by hand: hit_003 to sample 1090; and a row of a file no longer in the folder.
  const std::string old_line = LineOf(text, "hit_003.txt");
  const std::string new_line = "hit_003.txt\t" + CellOf(old_line, 1) + "\t" + CellOf(old_line, 2) +
                               "\t1090\t" + PrintedTime(1090, 12.0) + "\tcorrected\t";
  text.replace(text.find(old_line), old_line.size(), new_line);
  const std::string gone =
      "hit_000.txt\t5\t1.00000005000000e+001\t7\t1.00000007000000e+001\trejected\t";
  text += gone + "\r\n";
  WriteBytes(path, text);

  RecordingHost host;
  OnsetReview review(host);
  ASSERT_TRUE(review.Open(path, Settings())) << "the onsets file opens its folder";
  EXPECT_EQ(review.Input(), dir.path());
  ASSERT_TRUE(review.Show(2));
  EXPECT_EQ(review.Row().correctedSample, 1090);
  EXPECT_EQ(review.Row().state, OnsetState::kCorrected);
  EXPECT_FALSE(review.Dirty());
  review.PickSample(1095);
  ASSERT_TRUE(review.Save());
  std::string expected = text;
  expected.replace(expected.find(new_line), new_line.size(),
                   "hit_003.txt\t" + CellOf(old_line, 1) + "\t" + CellOf(old_line, 2) + "\t1095\t" +
                       PrintedTime(1095, 12.0) + "\tcorrected\t");
  EXPECT_EQ(ReadBytes(path), expected) << "the row of hit_000.txt stays at the end";
}

TEST(OnsetReviewTest, AnUnreadableOnsetsFileIsNamedAndLeftAsItIs) {
  TempDir dir;
  MakeHits(dir.path());
  fs::create_directories(dir / "FXData");
  const std::string broken = "file name\tsomething else\r\n";
  WriteBytes(dir / "FXData/Onsets.txt", broken);
  RecordingHost host;
  OnsetReview review(host);
  EXPECT_FALSE(review.Open(dir.path(), Settings()));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find(dir / "FXData/Onsets.txt"), std::string::npos)
      << host.messages[0];
  EXPECT_EQ(ReadBytes(dir / "FXData/Onsets.txt"), broken);

  // A folder without waveforms: the feature run's message.
  TempDir empty;
  RecordingHost host2;
  OnsetReview nothing(host2);
  EXPECT_FALSE(nothing.Open(empty.path(), Settings()));
  ASSERT_EQ(host2.messages.size(), 1u);
  EXPECT_EQ(host2.messages[0], FeatureNoFilesMessage(empty.path()));
}

TEST(OnsetReviewTest, UnreadableHitsAreSteppedOverNamedAndLeftOutOfTheFile) {
  TempDir dir;
  MakeHits(dir.path());
  WriteBytes(dir / "hit_002.txt", "");  // nothing in it
  RecordingHost host;
  OnsetReview review(host);
  ASSERT_TRUE(review.Open(dir.path(), Settings()));
  ASSERT_TRUE(review.Next());
  EXPECT_EQ(review.Row().name, "hit_003.txt");
  EXPECT_NE(review.StatusLine().find("Stepped over: "), std::string::npos);
  EXPECT_NE(review.StatusLine().find(dir / "hit_002.txt"), std::string::npos)
      << review.StatusLine();
  ASSERT_TRUE(review.Previous());
  EXPECT_EQ(review.Row().name, "hit_001.txt");
  // The waveform shown is the first hit's again (not the unreadable one's leftovers).
  EXPECT_EQ(review.Shown().timeOfTest, 10.0);
  ASSERT_TRUE(review.Save());
  const std::string saved = ReadBytes(review.OnsetsPath());
  EXPECT_EQ(Lines(saved).size(), 4u) << saved;
  EXPECT_TRUE(LineOf(saved, "hit_002.txt").empty());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "1 waveform of " + dir.path() +
                                  " could not be read and is not listed in " + review.OnsetsPath() +
                                  ".");
}

TEST(OnsetReviewTest, ClosingWithUnsavedChangesAsksAndDoesWhatTheAnswerSays) {
  TempDir dir;
  MakeHits(dir.path());
  RecordingHost host;
  OnsetReview review(host);
  ASSERT_TRUE(review.Open(dir.path(), Settings()));
  review.PickSample(333);
  host.unsaved_answers = {Host::UnsavedAnswer::kCancel, Host::UnsavedAnswer::kDiscard};
  EXPECT_FALSE(review.MayClose()) << "Cancel: the review stays";
  EXPECT_TRUE(review.Dirty());
  EXPECT_TRUE(review.MayClose()) << "Discard: it ends";
  EXPECT_FALSE(fs::exists(review.OnsetsPath())) << "discarded: nothing written";
  EXPECT_EQ(host.questions,
            std::vector<std::string>(2, UnsavedOnsetsQuestion(dir / "FXData/Onsets.txt")));
  host.unsaved_answers = {Host::UnsavedAnswer::kSave};
  EXPECT_TRUE(review.MayClose());
  EXPECT_EQ(CellOf(LineOf(ReadBytes(review.OnsetsPath()), "hit_001.txt"), 3), "333");
  EXPECT_FALSE(review.Dirty());
  EXPECT_TRUE(review.MayClose());
  EXPECT_EQ(host.questions.size(), 3u) << "saved: no more question";
}

}  // namespace
}  // namespace plexo
