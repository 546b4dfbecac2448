// Importing the records of waveform databases: one file per record that reads back as the
// record, named by TRAI; unusable records refused by TRAI; the selection by TRAI and channel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "import/import_reference.h"
#include "import/waveform_import.h"
#include "signal/waveform_database.h"
#include "signal/waveform_file.h"
#include "support/database_maker.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"

// The records below name only the fields that differ from a plain one.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace plexo {
namespace {

using testing::BlobKind;
using testing::MakeDatabase;
using testing::ReadBytes;
using testing::TempDir;
using testing::TestValues;

// Every sample line of a waveform file, taken straight from the text (the reader stores only
// the first MAX_SAMPLES and zeroes the first one).
std::vector<double> SampleLines(const std::string& path) {
  std::istringstream in(ReadBytes(path));
  std::string line;
  std::vector<double> values;
  for (int n = 0; std::getline(in, line); ++n) {
    if (n >= 9) values.push_back(std::strtod(line.c_str(), nullptr));
  }
  return values;
}

struct Imported {
  CalcStatus status;
  ImportSummary summary;
  std::string log;
};

Imported ImportDatabase(const std::string& db, const std::string& target,
                        RecordSelection selection = {}) {
  ImportRequest request;
  request.inputs = {db};
  request.target = target;
  request.selection = selection;
  NullProgress progress;
  Imported run;
  run.status = ImportWaveforms(
      request, progress, [&](std::string_view line) { run.log += std::string(line) + "\n"; },
      run.summary);
  return run;
}

TEST(DatabaseImport, EachRecordBecomesAFileThatReadsBackAsTheRecord) {
  TempDir dir;
  const auto a = TestValues(3000, 1);
  const auto b = TestValues(20000, 2);  // beyond the sample limit: written whole
  MakeDatabase(dir / "plate.tradb", {{.trai = 5,
                                      .channel = 2,
                                      .time = 123456789,
                                      .pretrigger = 200,
                                      .sampleRate = 3000000,
                                      .values = a,
                                      .kind = BlobKind::kFlac},
                                     {.trai = 9,
                                      .channel = 4,
                                      .time = 7,
                                      .pretrigger = 0,
                                      .sampleRate = 5000000,
                                      .values = b,
                                      .kind = BlobKind::kRaw}});
  const Imported run = ImportDatabase(dir / "plate.tradb", dir / "out");
  ASSERT_EQ(run.status, CalcStatus::kDone) << run.log;
  EXPECT_EQ(run.summary.imported, 2);
  EXPECT_NE(run.log.find("plate.tradb: TRAI 5: waveform database record, 3000 samples, hit 5"),
            std::string::npos)
      << run.log;

  const std::string five = dir / "out/plate_5.txt";
  const std::string text = ReadBytes(five);
  EXPECT_NE(text.find("CHANNEL NUMBER:\t2\r\nHIT NUMBER:\t5\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("UNITS:\tvolts\r\n"), std::string::npos);
  Waveform wf;
  ASSERT_EQ(ReadWaveform(five, wf), 3000);
  // 1/3 MHz and the first sample's time survive to the last bit.
  EXPECT_EQ(wf.sampleInterval, 1.0 / 3000000.0);
  EXPECT_EQ(wf.timeOfTest, 12.3456789 - 200.0 / 3000000.0);
  EXPECT_EQ(wf.channel, 2);
  const std::vector<double> lines = SampleLines(five);
  ASSERT_EQ(lines.size(), a.size());
  for (size_t i = 0; i < a.size(); ++i) ASSERT_EQ(lines[i], a[i] * 0.0030517578125 / 1000.0) << i;

  const std::vector<double> nine = SampleLines(dir / "out/plate_9.txt");
  ASSERT_EQ(nine.size(), b.size());
  for (size_t i = 0; i < b.size(); ++i) ASSERT_EQ(nine[i], b[i] * 0.0030517578125 / 1000.0) << i;
}

TEST(DatabaseImport, AnUnusableRecordIsRefusedByTraiAndTheOthersAreWritten) {
  TempDir dir;
  MakeDatabase(dir / "d.tradb",
               {{.trai = 1, .values = TestValues(100, 1)},
                {.trai = 2, .values = TestValues(100, 2), .dataFormat = 7},
                {.trai = 3, .values = TestValues(100, 3), .kind = BlobKind::kFlac}});
  const Imported run = ImportDatabase(dir / "d.tradb", dir / "out");
  EXPECT_EQ(run.status, CalcStatus::kRefused);
  EXPECT_EQ(run.summary.imported, 2);
  EXPECT_EQ(run.summary.refused, 1);
  EXPECT_NE(run.log.find("d.tradb: TRAI 2: refused: "), std::string::npos) << run.log;
  EXPECT_NE(run.log.find("data format 7"), std::string::npos) << run.log;
  EXPECT_TRUE(std::filesystem::exists(dir / "out/d_1.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir / "out/d_2.txt"));
  EXPECT_TRUE(std::filesystem::exists(dir / "out/d_3.txt"));
}

TEST(DatabaseImport, AFileThatIsNoDatabaseIsRefusedNamingIt) {
  TempDir dir;
  testing::WriteBytes(dir / "fake.tradb", "0.1\n0.2\n");
  const Imported run = ImportDatabase(dir / "fake.tradb", dir / "out");
  EXPECT_EQ(run.status, CalcStatus::kRefused);
  EXPECT_NE(run.log.find("fake.tradb: refused: " + (dir / "fake.tradb") + ": "), std::string::npos)
      << run.log;
}

TEST(DatabaseImport, TheCommandSelectsRecordsByTraiAndChannel) {
  TempDir dir;
  std::vector<testing::MadeRecord> records;
  for (int t = 1; t <= 8; ++t) {
    records.push_back({.trai = t, .channel = 1 + t % 2, .values = TestValues(64, t)});
  }
  MakeDatabase(dir / "sel.tradb", records);
  auto run = testing::RunPlexo("import '" + (dir / "sel.tradb") + "' --to '" + (dir / "a") +
                               "' --trai 3-7 --channel 2");
  EXPECT_EQ(run.status, 0) << run.output;
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir / "a"))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"sel_3.txt", "sel_5.txt", "sel_7.txt"}));

  run = testing::RunPlexo("import '" + (dir / "sel.tradb") + "' --to '" + (dir / "b") +
                          "' --trai 6-");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(std::filesystem::exists(dir / "b/sel_8.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir / "b/sel_5.txt"));

  for (const char* bad : {"x", "5-3", "-", "1-2-3"}) {
    run = testing::RunPlexo("import '" + (dir / "sel.tradb") + "' --to '" + (dir / "c") +
                            "' --trai " + bad);
    EXPECT_NE(run.status, 0) << bad;
    EXPECT_NE(run.output.find("--trai"), std::string::npos) << run.output;
  }
}

// The real databases: the FLAC one imports to the same files as its raw twin, every sample the
// raw blob scaled.
TEST(DatabaseImport, RealSteelPlateRecordsImportWhole) {
  const std::string dir = testing::RealDataDir() + "/vallenae-sqlite/";
  if (!std::filesystem::exists(dir + "steel_plate-sample.tradb")) GTEST_SKIP() << "no real data";
  TempDir out;
  const Imported flac = ImportDatabase(dir + "steel_plate-sample.tradb", out / "flac");
  const Imported raw = ImportDatabase(dir + "steel_plate-sample_plain.tradb", out / "raw");
  ASSERT_EQ(flac.status, CalcStatus::kDone) << flac.log;
  ASSERT_EQ(raw.status, CalcStatus::kDone) << raw.log;
  WaveformDatabase db;
  std::string why;
  ASSERT_TRUE(db.Open(dir + "steel_plate-sample_plain.tradb", why)) << why;
  std::vector<DatabaseRecordInfo> list;
  ASSERT_TRUE(db.List({}, list, why));
  for (const DatabaseRecordInfo& info : list) {
    const std::string n = std::to_string(info.trai);
    const std::string a = ReadBytes(out / ("flac/steel_plate-sample_" + n + ".txt"));
    const std::string b = ReadBytes(out / ("raw/steel_plate-sample_plain_" + n + ".txt"));
    EXPECT_EQ(a, b) << n;
    DatabaseRecord record;
    ASSERT_TRUE(db.Read(info.rowId, record, why));
    EXPECT_EQ(SampleLines(out / ("raw/steel_plate-sample_plain_" + n + ".txt")), record.volts);
    EXPECT_NE(a.find("HIT NUMBER:\t" + n + "\r\n"), std::string::npos);
  }
}

}  // namespace
}  // namespace plexo
