// The inputs of a batch: records of a database read on several threads at once are each the
// record's own samples (the raw values scaled, as plainly computed here), in TRAI order, named
// by TRAI; a record that gives no waveform always says why; results go beside a database.
#include "signal/waveform_source.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/database_maker.h"
#include "support/temp_dir.h"

// The records below name only the fields that differ from a plain one.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace plexo {
namespace {

using testing::BlobKind;
using testing::MadeRecord;
using testing::TestValues;

constexpr double kMillivolts = 0.0030517578125;

TEST(DatabaseWaveforms, ConcurrentReadsGiveEachRecordItsOwnSamples) {
  testing::TempDir dir;
  const std::string path = dir.File("rig.tradb");
  std::vector<MadeRecord> made;
  for (int k = 0; k < 24; ++k) {
    // Stored in reverse TRAI order; every other record as FLAC; lengths differ.
    made.push_back(MadeRecord{24 - k, 1 + k % 3, 1000 * k, 0, 1000000, 1,
                              TestValues(500 + 37 * k, k),
                              k % 2 ? BlobKind::kFlac : BlobKind::kRaw});
  }
  testing::MakeDatabase(path, made);
  DatabaseWaveforms source;
  std::string why;
  ASSERT_TRUE(source.Open(path, RecordSelection{}, why)) << why;
  ASSERT_EQ(source.Count(), 24);
  for (int k = 0; k < 24; ++k) {
    EXPECT_EQ(source.Inputs()[k].name, std::to_string(k + 1));
    EXPECT_EQ(source.Label(k), path + ": TRAI " + std::to_string(k + 1));
  }
  std::vector<std::string> failures(4);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      Waveform wf;
      for (int round = 0; round < 5; ++round) {
        for (int k = t; k < 24; k += 2) {  // two threads on each record, at once
          const MadeRecord& record = made[static_cast<size_t>(23 - k)];
          const int count = source.Read(k, wf);
          if (count != static_cast<int>(record.values.size()) || !wf.readProblem.empty() ||
              wf.channel != record.channel || wf.sampleInterval != 1e-6) {
            failures[t] = "record " + std::to_string(k) + ": " + wf.readProblem;
            return;
          }
          for (int i = 1; i < count; ++i) {
            if (wf.samples[i].re != record.values[i] * kMillivolts / 1000.0) {
              failures[t] = "record " + std::to_string(k) + " sample " + std::to_string(i);
              return;
            }
          }
          if (wf.samples[0].re != 0.0) failures[t] = "the first sample is not stored as 0";
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const std::string& failure : failures) EXPECT_EQ(failure, "");
}

TEST(DatabaseWaveforms, ARecordWithoutAWaveformSaysWhy) {
  testing::TempDir dir;
  const std::string path = dir.File("bad.tradb");
  MadeRecord empty{1};
  MadeRecord truncated{2, 1, 0, 0, 1000000, 1, TestValues(64, 2)};
  truncated.samplesField = 100;
  MadeRecord unscaled{3, 1, 0, 0, 1000000, 7, TestValues(64, 3)};
  MadeRecord format{4, 1, 0, 0, 1000000, 1, TestValues(64, 4)};
  format.dataFormat = 1;
  testing::MakeDatabase(path, {empty, truncated, unscaled, format});
  std::string why;
  const std::unique_ptr<WaveformSource> source = ListWaveformSource(path, why);
  ASSERT_NE(source, nullptr) << why;
  ASSERT_EQ(source->Count(), 4);
  Waveform wf;
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    EXPECT_LE(source->Read(k, wf), 0);
    EXPECT_EQ(wf.readProblem.rfind(source->Label(k) + ": ", 0), 0u) << wf.readProblem;
  }
}

TEST(WaveformSource, ListsAFolderOrADatabaseAndPlacesTheResults) {
  struct Case {
    const char* input;
    const char* results;
  };
  for (const Case& c :
       {Case{"/lab/run 3", "/lab/run 3/FXData"}, Case{"/lab/run 3/", "/lab/run 3/FXData"},
        Case{"/lab/rig.tradb", "/lab/rig_FXData"}, Case{"/lab/rig.v2.TRADB", "/lab/rig.v2_FXData"},
        Case{"rig.tradb", "./rig_FXData"}, Case{"/lab/rig.pridb", "/lab/rig.pridb/FXData"}})
    EXPECT_EQ(BatchResultFolder(c.input, "FXData"), c.results) << c.input;

  testing::TempDir dir;
  testing::WriteBytes(dir.File("hit_2.txt"), "x");
  testing::WriteBytes(dir.File("hit_1.TXT"), "x");
  testing::WriteBytes(dir.File("notes.md"), "x");
  testing::WriteBytes(dir.File("fake.tradb"), "not a database\n");
  std::string why;
  const std::unique_ptr<WaveformSource> folder = ListWaveformSource(dir.path(), why);
  ASSERT_NE(folder, nullptr) << why;
  ASSERT_EQ(folder->Count(), 2);
  EXPECT_EQ(folder->Inputs()[0].name, "hit_1.TXT");
  EXPECT_EQ(folder->Label(1), dir.File("hit_2.txt"));
  EXPECT_EQ(ListWaveformSource(dir.File("fake.tradb"), why), nullptr);
  EXPECT_NE(why.find(dir.File("fake.tradb")), std::string::npos) << why;
}

TEST(WaveformSource, AnotherProcessReadsTheSameRecordsOrRefuses) {
  testing::TempDir dir;
  const std::string path = dir.File("rig.tradb");
  testing::MakeDatabase(path, {MadeRecord{5, 1, 0, 0, 1000000, 1, TestValues(64, 5)},
                               MadeRecord{9, 1, 0, 0, 1000000, 1, TestValues(64, 9)}});
  std::string why;
  const std::vector<std::string> labels = {path + ": TRAI 5", path + ": TRAI 9"};
  const std::unique_ptr<WaveformSource> same = ReopenWaveformSource(path, labels, why);
  ASSERT_NE(same, nullptr) << why;
  EXPECT_EQ(same->Count(), 2);
  EXPECT_EQ(ReopenWaveformSource(path, {labels[0]}, why), nullptr);
  EXPECT_NE(why.find(path), std::string::npos);
}

}  // namespace
}  // namespace plexo
