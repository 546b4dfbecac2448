// The onset review as the desktop's window drives it, without the window: what a chosen path
// stands for, stepping through the hits, the file it saves (checked against the one `plexo
// onsets` writes), unreadable hits, closing with changes not saved.
#include "features/onset_review_session.h"

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

TEST(OnsetReviewSessionTest, AChosenPathStandsForItsFolderOrDatabase) {
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

TEST(OnsetReviewSessionTest, AnUntouchedReviewSavesTheFileOfTheOnsetsCommand) {
  TempDir mine, theirs;
  MakeHits(mine.path());
  MakeHits(theirs.path());
  ASSERT_EQ(RunPlexo("onsets " + theirs.path()).status, 0);
  RecordingHost host;
  OnsetReviewSession review(host);
  ASSERT_TRUE(review.Open(mine.path(), Settings()));
  EXPECT_EQ(review.Review().Count(), 3);
  EXPECT_EQ(review.Review().Current(), 0);
  EXPECT_EQ(review.Review().Path(), mine / "FXData/Onsets.txt");
  EXPECT_FALSE(review.Review().Modified());
  EXPECT_TRUE(review.MayClose()) << "nothing to lose: no question";
  EXPECT_TRUE(host.questions.empty());
  // Only the first hit was looked at; saving picks the others.
  ASSERT_TRUE(review.Save());
  EXPECT_EQ(ReadBytes(review.Review().Path()), ReadBytes(theirs / "FXData/Onsets.txt"));
  EXPECT_EQ(host.written, std::vector<std::string>{review.Review().Path()});
  EXPECT_TRUE(host.messages.empty());
}

TEST(OnsetReviewSessionTest, StepsThroughTheHitsFromTheChosenOneAndStopsAtTheEnds) {
  TempDir dir;
  MakeHits(dir.path());
  RecordingHost host;
  OnsetReviewSession review(host);
  ASSERT_TRUE(review.Open(dir / "hit_002.txt", Settings()));
  EXPECT_EQ(review.Review().Current(), 1);
  EXPECT_EQ(review.Review().CurrentRow()->name, "hit_002.txt");
  EXPECT_NE(review.StatusLine().find("Hit 2 of 3: hit_002.txt"), std::string::npos)
      << review.StatusLine();
  EXPECT_TRUE(review.Next());
  EXPECT_EQ(review.Review().CurrentRow()->name, "hit_003.txt");
  EXPECT_FALSE(review.Next()) << "the last hit";
  EXPECT_EQ(review.Review().Current(), 2);
  EXPECT_TRUE(review.Previous());
  EXPECT_TRUE(review.Previous());
  EXPECT_FALSE(review.Previous()) << "the first hit";
  EXPECT_EQ(review.Review().CurrentRow()->name, "hit_001.txt");
  // The chart is the shown hit's: its waveform over the whole record, two panels.
  ASSERT_EQ(review.Chart().panels.size(), 2u);
  EXPECT_DOUBLE_EQ(review.Chart().full_x.high, kCount * kDt);
  EXPECT_FALSE(review.Review().Modified()) << "looking changes nothing";
}

TEST(OnsetReviewSessionTest, TheSavedFileHoldsExactlyTheChangedRows) {
  TempDir dir, plain;
  MakeHits(dir.path());
  MakeHits(plain.path());
  ASSERT_EQ(RunPlexo("onsets " + plain.path()).status, 0);
  const std::string automatic = ReadBytes(plain / "FXData/Onsets.txt");
  RecordingHost host;
  OnsetReviewSession review(host);
  ASSERT_TRUE(review.Open(dir.path(), Settings()));
  review.PickAt(390.3 * kDt);  // hit_001: corrected to the nearest sample
  ASSERT_TRUE(review.Next());
  review.ToggleRejected();  // hit_002: rejected
  ASSERT_TRUE(review.Save());
  EXPECT_FALSE(review.Review().Modified());
  const std::string saved = ReadBytes(review.Review().Path());

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

TEST(OnsetReviewSessionTest, AnUnreadableOnsetsFileIsNamedAndLeftAsItIs) {
  TempDir dir;
  MakeHits(dir.path());
  fs::create_directories(dir / "FXData");
  const std::string broken = "file name\tsomething else\r\n";
  WriteBytes(dir / "FXData/Onsets.txt", broken);
  RecordingHost host;
  OnsetReviewSession review(host);
  EXPECT_FALSE(review.Open(dir.path(), Settings()));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find(dir / "FXData/Onsets.txt"), std::string::npos)
      << host.messages[0];
  EXPECT_EQ(ReadBytes(dir / "FXData/Onsets.txt"), broken);

  // A folder without waveforms: the feature run's message.
  TempDir empty;
  RecordingHost host2;
  OnsetReviewSession nothing(host2);
  EXPECT_FALSE(nothing.Open(empty.path(), Settings()));
  ASSERT_EQ(host2.messages.size(), 1u);
  EXPECT_EQ(host2.messages[0], FeatureNoFilesMessage(empty.path()));
}

TEST(OnsetReviewSessionTest, AnUnreadableHitIsShownWithoutAChartAndLeftOutOfTheFile) {
  TempDir dir;
  MakeHits(dir.path());
  WriteBytes(dir / "hit_002.txt", "");  // nothing in it
  RecordingHost host;
  OnsetReviewSession review(host);
  ASSERT_TRUE(review.Open(dir.path(), Settings()));
  ASSERT_TRUE(review.Next());
  EXPECT_EQ(review.Review().Current(), 1);
  EXPECT_TRUE(review.Chart().panels.empty());
  const std::string status = review.StatusLine();
  EXPECT_EQ(status.rfind("Hit 2 of 3: hit_002.txt   not shown: ", 0), 0u) << status;
  EXPECT_NE(status.find(dir / "hit_002.txt"), std::string::npos) << status;
  // Nothing to pick or reject on it.
  review.PickAt(100 * kDt);
  review.ToggleRejected();
  EXPECT_FALSE(review.Review().Modified());
  ASSERT_TRUE(review.Next());
  EXPECT_EQ(review.Review().CurrentRow()->name, "hit_003.txt");
  EXPECT_EQ(review.Chart().panels.size(), 2u);
  ASSERT_TRUE(review.Previous());
  ASSERT_TRUE(review.Previous());
  // The waveform shown is the first hit's again (not the unreadable one's leftovers).
  EXPECT_EQ(review.Review().CurrentWaveform().timeOfTest, 10.0);
  EXPECT_TRUE(host.messages.empty());
  ASSERT_TRUE(review.Save());
  const std::string saved = ReadBytes(review.Review().Path());
  EXPECT_EQ(Lines(saved).size(), 4u) << saved;
  EXPECT_TRUE(LineOf(saved, "hit_002.txt").empty());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(
      host.messages[0].rfind(
          "1 waveform is not listed in " + review.Review().Path() + ", as it cannot be read:\n", 0),
      0u)
      << host.messages[0];
}

TEST(OnsetReviewSessionTest, ClosingWithUnsavedChangesAsksAndDoesWhatTheAnswerSays) {
  TempDir dir;
  MakeHits(dir.path());
  RecordingHost host;
  OnsetReviewSession review(host);
  ASSERT_TRUE(review.Open(dir.path(), Settings()));
  review.Review().MovePick(333);
  host.unsaved_answers = {Host::UnsavedAnswer::kCancel, Host::UnsavedAnswer::kDiscard};
  EXPECT_FALSE(review.MayClose()) << "Cancel: the review stays";
  EXPECT_TRUE(review.Review().Modified());
  EXPECT_TRUE(review.MayClose()) << "Discard: it ends";
  EXPECT_FALSE(fs::exists(review.Review().Path())) << "discarded: nothing written";
  EXPECT_EQ(host.questions,
            std::vector<std::string>(2, UnsavedOnsetsQuestion(dir / "FXData/Onsets.txt")));
  host.unsaved_answers = {Host::UnsavedAnswer::kSave};
  EXPECT_TRUE(review.MayClose());
  EXPECT_EQ(CellOf(LineOf(ReadBytes(review.Review().Path()), "hit_001.txt"), 3), "333");
  EXPECT_FALSE(review.Review().Modified());
  EXPECT_TRUE(review.MayClose());
  EXPECT_EQ(host.questions.size(), 3u) << "saved: no more question";
}

TEST(OnsetReviewSessionTest, TheRealDatabaseIsReviewedByTraiAndSavedBesideIt) {
  const std::string database =
      std::string(PLEXO_REALDATA_DIR) + "/vallenae-sqlite/bearing-bearing.tradb";
  if (!fs::exists(database)) GTEST_SKIP() << database << " is not here";
  TempDir dir, cli;
  // Results go beside the database: copies, not the shared data.
  fs::copy_file(database, dir / "bearing.tradb");
  fs::copy_file(database, cli / "bearing.tradb");
  ASSERT_EQ(RunPlexo("onsets '" + (cli / "bearing.tradb") + "'").status, 0);
  const std::string automatic = ReadBytes(cli / "bearing_FXData/Onsets.txt");

  RecordingHost host;
  OnsetReviewSession review(host);
  ASSERT_TRUE(review.Open(dir / "bearing.tradb", Settings()));
  EXPECT_EQ(review.Review().Path(), dir / "bearing_FXData/Onsets.txt");
  ASSERT_TRUE(review.Next());
  const OnsetRow& row = *review.Review().CurrentRow();
  EXPECT_EQ(review.StatusLine().rfind("Hit 2 of " + std::to_string(review.Review().Count()) + ": " +
                                          row.name + "   automatic pick: sample ",
                                      0),
            0u)
      << review.StatusLine();
  ASSERT_TRUE(review.Save());
  EXPECT_EQ(ReadBytes(review.Review().Path()), automatic) << "untouched: the command's file";
  EXPECT_TRUE(host.messages.empty());
  // The saved file opens the database again.
  OnsetReviewSession again(host);
  ASSERT_TRUE(again.Open(dir / "bearing_FXData/Onsets.txt", Settings()));
  EXPECT_EQ(again.Review().Input(), dir / "bearing.tradb");
}

}  // namespace
}  // namespace plexo
