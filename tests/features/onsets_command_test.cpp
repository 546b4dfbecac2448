// plexo onsets and plexo features --onsets as a user runs them: the automatic picks are the
// feature table's arrival times, a hand-edited file changes exactly the corrected rows (and the
// rejected ones vanish), a messy folder and the real database, thread counts, an earlier file's
// corrections, the review pictures.
#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "feature_test_data.h"
#include "support/run_mpi.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RunPlexo;
using testing::TempDir;
using testing::WriteBytes;

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  return parts;
}

// The data lines of a table (its header and units lines dropped), each without its CR LF, by
// the first cell (the file name).
std::map<std::string, std::string> RowsByName(const std::string& table) {
  std::map<std::string, std::string> rows;
  const std::vector<std::string> lines = Split(table, '\n');
  for (size_t i = 2; i < lines.size(); ++i) {
    std::string line = lines[i];
    if (!line.empty() && line.back() == '\r') line.pop_back();
    rows[line.substr(0, line.find('\t'))] = line;
  }
  return rows;
}

std::vector<std::string> Cells(const std::string& row) { return Split(row, '\t'); }

// "%1.14e" with the three-digit exponent the tables print.
std::string Printed(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.14e", value);
  std::string s = text;
  const size_t e = s.find('e');
  std::string digits = s.substr(e + 2);
  while (digits.size() < 3) digits = "0" + digits;
  return s.substr(0, e + 2) + digits;
}

// The sample interval and time of test of a waveform file, read off its header.
void HeaderOf(const std::string& path, double& dt, double& timeOfTest) {
  for (const std::string& line : Split(ReadBytes(path), '\n')) {
    if (line.rfind("SAMPLE INTERVAL", 0) == 0)
      dt = std::atof(line.substr(line.find(':') + 1).c_str());
    if (line.rfind("TIME OF TEST", 0) == 0)
      timeOfTest = std::atof(line.substr(line.find(':') + 1).c_str());
  }
}

void CopyExamples(const TempDir& dir) {
  for (const auto& entry : fs::directory_iterator(PLEXO_EXAMPLES_DIR))
    if (entry.path().extension() == ".txt")
      fs::copy_file(entry.path(), dir / entry.path().filename().string());
}

std::string OnsetsOf(const std::string& folder) { return ReadBytes(folder + "/FXData/Onsets.txt"); }
std::string TableOf(const std::string& folder) {
  return ReadBytes(folder + "/FXData/FX_Results.txt");
}

// The automatic picks of `onsets` equal the arrival times of the feature table `table` (of
// --columns arrival-time --with-file-names --aic), row for row and to the character; the
// corrected columns equal the automatic ones.
void ExpectPicksAreArrivalTimes(const std::string& onsets, const std::string& table) {
  const auto picks = RowsByName(onsets);
  const auto arrivals = RowsByName(table);
  ASSERT_EQ(picks.size(), arrivals.size());
  ASSERT_FALSE(picks.empty());
  for (const auto& [name, row] : arrivals) {
    ASSERT_EQ(picks.count(name), 1u) << name;
    const std::vector<std::string> p = Cells(picks.at(name));
    ASSERT_EQ(p.size(), 6u) << picks.at(name);
    EXPECT_EQ(p[2], Cells(row)[1]) << name;
    EXPECT_EQ(p[3], p[1]);
    EXPECT_EQ(p[4], p[2]);
    EXPECT_EQ(p[5], "automatic");
  }
}

TEST(OnsetsCommandTest, AutomaticPicksAreTheFeatureTablesArrivalTimes) {
  TempDir dir;
  CopyExamples(dir);
  const testing::PlexoResult onsets = RunPlexo("onsets " + dir.path());
  ASSERT_EQ(onsets.status, 0) << onsets.output;
  EXPECT_NE(onsets.output.find("Onsets of 6 waveform files"), std::string::npos) << onsets.output;
  const std::string text = OnsetsOf(dir.path());
  const std::string header =
      "file name\tautomatic onset\tautomatic arrival time\tcorrected onset\tcorrected arrival "
      "time\tstate\t\r\n\tsample\ts\tsample\ts\t\t\r\n";
  EXPECT_EQ(text.substr(0, header.size()), header);
  ASSERT_EQ(
      RunPlexo("features " + dir.path() + " --columns arrival-time --with-file-names --aic").status,
      0);
  ExpectPicksAreArrivalTimes(text, TableOf(dir.path()));
  // The sample is the onset in samples: its time plus the time of test is the arrival time.
  for (const auto& [name, row] : RowsByName(text)) {
    double dt = 0, tot = 0;
    HeaderOf(dir / name, dt, tot);
    const std::vector<std::string> c = Cells(row);
    EXPECT_EQ(Printed(std::atoi(c[1].c_str()) * dt + tot), c[2]) << name;
  }
}

TEST(OnsetsCommandTest, AHandEditedFileChangesExactlyTheCorrectedRows) {
  TempDir dir;
  CopyExamples(dir);
  ASSERT_EQ(RunPlexo("onsets " + dir.path() + " --jobs 2").status, 0);
  ASSERT_EQ(RunPlexo("features " + dir.path() + " --all --with-file-names --aic").status, 0);
  const auto plain = RowsByName(TableOf(dir.path()));

  // hit_002: a corrected sample 25 later (the state left at automatic, the time not edited);
  // hit_004: rejected; hit_005: its corrected time edited alone (the sample holds).
  std::string edited;
  for (std::string line : Split(OnsetsOf(dir.path()), '\n')) {
    std::vector<std::string> c = Cells(line);
    if (c[0] == "hit_002.txt") c[3] = std::to_string(std::atoi(c[3].c_str()) + 25);
    if (c[0] == "hit_004.txt") c[5] = "rejected";
    if (c[0] == "hit_005.txt") c[4] = "9.99000000000000e+001";
    std::string joined;
    for (const std::string& cell : c) joined += cell + "\t";
    joined.pop_back();  // the line as it was but for the edited cells (its CR kept)
    edited += joined + "\n";
  }
  const std::string onsets_file = dir / "FXData/reviewed.txt";  // not an input
  WriteBytes(onsets_file, edited);
  // A waveform the file does not list.
  fs::copy_file(dir / "hit_001.txt", dir / "hit_007.txt");

  for (const char* jobs : {"1", "3"}) {
    const testing::PlexoResult r =
        RunPlexo("features " + dir.path() + " --all --with-file-names --onsets " + onsets_file +
                 " --jobs " + jobs);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Rejected in " + onsets_file + ", left out: " + (dir / "hit_004.txt")),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("Not listed in " + onsets_file +
                            ", picked automatically: " + (dir / "hit_007.txt")),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("hit_005.txt: the corrected arrival time 9.99000000000000e+001"),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("Features of 6 waveform files, 1 rejected"), std::string::npos)
        << r.output;
    const auto rows = RowsByName(TableOf(dir.path()));
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows.count("hit_004.txt"), 0u);
    for (const char* same : {"hit_001.txt", "hit_003.txt", "hit_005.txt", "hit_006.txt"})
      EXPECT_EQ(rows.at(same), plain.at(same)) << same;
    EXPECT_EQ(Cells(rows.at("hit_007.txt")), [&] {
      std::vector<std::string> c = Cells(plain.at("hit_001.txt"));
      c[0] = "hit_007.txt";
      return c;
    }());
    // hit_002: its arrival time is the corrected sample's, and the window moved with it.
    ASSERT_NE(rows.at("hit_002.txt"), plain.at("hit_002.txt"));
    const auto automatic = RowsByName(OnsetsOf(dir.path()));
    double dt = 0, tot = 0;
    HeaderOf(dir / "hit_002.txt", dt, tot);
    const int sample = std::atoi(Cells(automatic.at("hit_002.txt"))[1].c_str()) + 25;
    EXPECT_EQ(Cells(rows.at("hit_002.txt"))[1], Printed(sample * dt + tot));
    EXPECT_NE(Cells(rows.at("hit_002.txt"))[3], Cells(plain.at("hit_002.txt"))[3]) << "energy";
  }
}

TEST(OnsetsCommandTest, ARerunKeepsTheCorrectionsAndForceDropsThem) {
  TempDir dir;
  CopyExamples(dir);
  ASSERT_EQ(RunPlexo("onsets " + dir.path()).status, 0);
  const std::string path = dir.path() + "/FXData/Onsets.txt";
  const std::string fresh = ReadBytes(path);
  std::string edited = fresh;
  const size_t at = edited.find("automatic\t\r\nhit_004.txt");  // the state of hit_003
  ASSERT_NE(at, std::string::npos);
  edited.replace(at, 9, "rejected");
  WriteBytes(path, edited);
  testing::PlexoResult r = RunPlexo("onsets " + dir.path());
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("1 corrected or rejected kept"), std::string::npos) << r.output;
  EXPECT_EQ(ReadBytes(path), edited);

  // The corrected hit cannot be read now: it is skipped, and its row kept as it was.
  const std::string hit3 = ReadBytes(dir / "hit_003.txt");
  WriteBytes(dir / "hit_003.txt", "damaged\r\n");
  r = RunPlexo("onsets " + dir.path());
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("Skipped: "), std::string::npos) << r.output;
  EXPECT_EQ(ReadBytes(path), edited);
  WriteBytes(dir / "hit_003.txt", hit3);

  // The corrected hit is gone from the folder: its correction is not dropped silently.
  fs::remove(dir / "hit_003.txt");
  r = RunPlexo("onsets " + dir.path());
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find("holds corrections of 1 waveform that " + dir.path() +
                          " no longer holds (hit_003.txt)"),
            std::string::npos)
      << r.output;
  EXPECT_EQ(ReadBytes(path), edited);
  // A file that is not an onsets file is not overwritten either.
  WriteBytes(path, "something else\r\n");
  r = RunPlexo("onsets " + dir.path());
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find(path + ": line 1: not the header line"), std::string::npos) << r.output;
  EXPECT_EQ(ReadBytes(path), "something else\r\n");

  r = RunPlexo("onsets " + dir.path() + " --force");
  ASSERT_EQ(r.status, 0) << r.output;
  std::string without3 = fresh;
  const size_t row3 = without3.find("hit_003.txt");
  without3.erase(row3, without3.find("hit_004.txt") - row3);
  EXPECT_EQ(ReadBytes(path), without3);
}

TEST(OnsetsCommandTest, AMessyFolderGivesTheFeatureRunsRowsOnEveryThreadCount) {
  TempDir dir;
  CopyExamples(dir);
  WriteBytes(dir / "README.txt", "These are the hits of Tuesday.\r\n");
  // A waveform file that lost its header lines.
  const std::string hit = ReadBytes(dir / "hit_002.txt");
  WriteBytes(dir / "headless.TXT", hit.substr(hit.find("TIME OF TEST")));
  WriteBytes(dir / "odd name #1.txt", hit);
  fs::create_directory(dir / "sub.txt");
  WriteBytes(dir / "notes.csv", "1,2\r\n");
  ASSERT_EQ(
      RunPlexo("features " + dir.path() + " --columns arrival-time --with-file-names --aic").status,
      0);
  const std::string table = TableOf(dir.path());
  std::string first;
  for (const char* jobs : {"1", "2", "4"}) {
    const testing::PlexoResult r = RunPlexo("onsets " + dir.path() + " --force --jobs " + jobs);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Skipped: "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("README.txt"), std::string::npos) << r.output;
    ExpectPicksAreArrivalTimes(OnsetsOf(dir.path()), table);
    if (first.empty()) first = OnsetsOf(dir.path());
    EXPECT_EQ(OnsetsOf(dir.path()), first) << jobs << " threads";
  }
  EXPECT_NE(first.find("odd name #1.txt\t"), std::string::npos);
}

TEST(OnsetsCommandTest, ACorrectedOnsetPastTheRecordIsSkippedAndNamed) {
  TempDir dir;
  CopyExamples(dir);
  ASSERT_EQ(RunPlexo("onsets " + dir.path()).status, 0);
  const std::string path = dir.path() + "/FXData/Onsets.txt";
  std::string text = ReadBytes(path);
  const size_t row = text.find("hit_006.txt\t");
  const size_t corrected = text.find('\t', text.find('\t', text.find('\t', row) + 1) + 1) + 1;
  text.replace(corrected, text.find('\t', corrected) - corrected, "4096");
  WriteBytes(path, text);
  testing::PlexoResult r =
      RunPlexo("features " + dir.path() + " --with-file-names --onsets " + path);
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(
      r.output.find("Skipped: " + (dir / "hit_006.txt") + ": the corrected onset, sample 4096 in " +
                    path + ", lies past the last sample (4095)"),
      std::string::npos)
      << r.output;
  EXPECT_EQ(RowsByName(TableOf(dir.path())).count("hit_006.txt"), 0u);
  EXPECT_EQ(RowsByName(TableOf(dir.path())).size(), 5u);
  // --strict stops there, and the table of the run before stays.
  const std::string before = TableOf(dir.path());
  r = RunPlexo("features " + dir.path() + " --all --strict --onsets " + path);
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_EQ(TableOf(dir.path()), before);
}

TEST(OnsetsCommandTest, RefusesWhatItCannotUse) {
  TempDir dir;
  testing::PlexoResult r = RunPlexo("onsets " + (dir / "missing"));
  EXPECT_NE(r.status, 0);
  EXPECT_FALSE(testing::Exists(dir / "missing/FXData/Onsets.txt"));
  r = RunPlexo("onsets " + dir.path());  // no *.txt file
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find("No files found in folder!"), std::string::npos) << r.output;
  CopyExamples(dir);
  r = RunPlexo("onsets " + dir.path() + " --duration 0");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.output.find("--duration"), std::string::npos) << r.output;
  r = RunPlexo("features " + dir.path() + " --onsets " + (dir / "nothing.txt"));
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find(dir / "nothing.txt"), std::string::npos) << r.output;
  EXPECT_FALSE(testing::Exists(dir / "FXData/FX_Results.txt"));
}

TEST(OnsetsCommandTest, PlotsOneReviewPicturePerWaveform) {
  TempDir dir;
  CopyExamples(dir);
  WriteBytes(dir / "README.txt", "not a waveform\r\n");
  const testing::PlexoResult r = RunPlexo("onsets " + dir.path() + " --plots " + (dir / "review"));
  ASSERT_EQ(r.status, 0) << r.output;
  int pictures = 0;
  for (const auto& entry : fs::directory_iterator(dir / "review")) {
    ++pictures;
    const std::string png = ReadBytes(entry.path().string());
    int w = 0, h = 0, channels = 0;
    unsigned char* pixels =
        stbi_load_from_memory(reinterpret_cast<const unsigned char*>(png.data()),
                              static_cast<int>(png.size()), &w, &h, &channels, 3);
    ASSERT_NE(pixels, nullptr) << entry.path();
    EXPECT_EQ(w, 1000);
    EXPECT_EQ(h, 600);
    stbi_image_free(pixels);
  }
  EXPECT_EQ(pictures, 6);
  EXPECT_TRUE(testing::Exists(dir / "review/hit_003_onset.png"));
}

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(OnsetsCommandTest, RanksUseTheReviewedPicksAsOneProcessDoes) {
  if (testing::MpiLauncher().empty()) GTEST_SKIP() << "plexo-mpi or mpirun not built/found";
  TempDir dir;
  CopyExamples(dir);
  ASSERT_EQ(RunPlexo("onsets " + dir.path()).status, 0);
  std::string text = OnsetsOf(dir.path());
  text.replace(text.find("automatic\t\r\nhit_003.txt"), 9, "rejected");  // hit_002
  const size_t row = text.find("hit_005.txt\t");
  const size_t corrected = text.find('\t', text.find('\t', text.find('\t', row) + 1) + 1) + 1;
  text.replace(corrected, text.find('\t', corrected) - corrected, "777");
  WriteBytes(dir.path() + "/FXData/Onsets.txt", text);
  const std::string options =
      " --all --with-file-names --jobs 1 --onsets " + dir.path() + "/FXData/Onsets.txt";
  const testing::PlexoResult one = RunPlexo("features " + dir.path() + options);
  ASSERT_EQ(one.status, 0) << one.output;
  const std::string one_process = TableOf(dir.path());
  EXPECT_EQ(RowsByName(one_process).size(), 5u);
  std::remove((dir.path() + "/FXData/FX_Results.txt").c_str());
  for (int ranks : {2, 3}) {
    const testing::PlexoResult run =
        testing::RunPlexoOnRanks(ranks, "features " + dir.path() + options);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(TableOf(dir.path()), one_process) << ranks << " ranks";
    EXPECT_EQ(Occurrences(run.output, "left out: " + (dir / "hit_002.txt")), 1u) << run.output;
    EXPECT_EQ(Occurrences(run.output, "Features of 5 waveform files, 1 rejected"), 1u)
        << run.output;
  }
}

TEST(OnsetsCommandTest, TheRealDatabaseGivesTheFeatureRunsArrivalTimes) {
  const std::string database =
      std::string(PLEXO_REALDATA_DIR) + "/vallenae-sqlite/bearing-bearing.tradb";
  if (!fs::exists(database)) GTEST_SKIP() << database << " is not here";
  TempDir dir;
  const std::string copy = dir / "bearing.tradb";
  fs::copy_file(database, copy);  // results go beside the database: not into the shared data
  testing::PlexoResult r = RunPlexo("onsets '" + copy + "' --jobs 2");
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string onsets = ReadBytes(dir / "bearing_FXData/Onsets.txt");
  EXPECT_EQ(onsets.substr(0, 5), "TRAI\t");
  ASSERT_EQ(
      RunPlexo("features '" + copy + "' --columns arrival-time --with-file-names --aic").status, 0);
  ExpectPicksAreArrivalTimes(onsets, ReadBytes(dir / "bearing_FXData/FX_Results.txt"));

  // Reject the first record: features --onsets leaves it out and names it by its TRAI.
  const auto rows = RowsByName(onsets);
  const std::string first = rows.begin()->first;
  std::string edited = onsets;
  const size_t at = edited.find("\r\n" + first + "\t");
  const size_t state = edited.find("automatic", at);
  edited.replace(state, 9, "rejected");
  WriteBytes(dir / "bearing_FXData/Onsets.txt", edited);
  r = RunPlexo("features '" + copy + "' --columns arrival-time --with-file-names --onsets '" +
               (dir / "bearing_FXData/Onsets.txt") + "'");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("left out: " + copy + ": TRAI " + first), std::string::npos) << r.output;
  EXPECT_EQ(RowsByName(ReadBytes(dir / "bearing_FXData/FX_Results.txt")).size(), rows.size() - 1);
}

}  // namespace
}  // namespace plexo
