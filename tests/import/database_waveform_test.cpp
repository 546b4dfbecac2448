// A record read directly is the waveform its imported file reads back as: same count, header
// and samples, bit for bit, for made records and the real databases.
#include "signal/database_waveform.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "import/database_import.h"
#include "import/import_reference.h"
#include "import/waveform_import.h"
#include "signal/waveform_file.h"
#include "support/database_maker.h"
#include "support/temp_dir.h"

// The records below name only the fields that differ from a plain one.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace plexo {
namespace {

void ExpectSameAsImported(const std::string& database, const std::string& folder) {
  ImportRequest request;
  request.inputs = {database};
  request.target = folder;
  NullProgress progress;
  ImportSummary summary;
  ASSERT_EQ(ImportWaveforms(
                request, progress, [](std::string_view) {}, summary),
            CalcStatus::kDone);
  WaveformDatabase db;
  std::string why;
  ASSERT_TRUE(db.Open(database, why)) << why;
  std::vector<DatabaseRecordInfo> list;
  ASSERT_TRUE(db.List({}, list, why));
  DatabaseRecord workspace;
  Waveform direct, file;
  RealWaveform direct_real, file_real;
  for (const DatabaseRecordInfo& info : list) {
    const std::string path = folder + "/" + DatabaseRecordFileName(database, info.trai);
    const int n = ReadDatabaseWaveform(db, info, workspace, direct, why);
    ASSERT_EQ(n, ReadWaveform(path, file)) << path;
    ASSERT_EQ(ReadDatabaseWaveformReal(db, info, workspace, direct_real, why),
              ReadWaveformReal(path, file_real));
    EXPECT_EQ(direct.count, file.count);
    EXPECT_EQ(direct.sampleInterval, file.sampleInterval);
    EXPECT_EQ(direct.timeOfTest, file.timeOfTest);
    EXPECT_EQ(direct.channel, file.channel);
    EXPECT_EQ(direct.units, file.units);
    EXPECT_EQ(direct.date, file.date);
    EXPECT_EQ(direct.time, file.time);
    const int stored = std::min(n, MAX_SAMPLES);
    for (int i = 0; i < stored; ++i) {
      ASSERT_EQ(direct.samples[i].re, file.samples[i].re) << path << " sample " << i;
      ASSERT_EQ(direct.samples[i].im, 0.0);
      ASSERT_EQ(direct_real.samples[i], file_real.samples[i]) << path << " sample " << i;
    }
  }
}

TEST(DatabaseWaveform, ARecordReadsAsItsImportedFile) {
  testing::TempDir dir;
  testing::MakeDatabase(dir / "m.tradb",
                        {{.trai = 1,
                          .channel = 2,
                          .time = 987654321,
                          .pretrigger = 123,
                          .sampleRate = 3000000,
                          .values = testing::TestValues(3000, 1),
                          .kind = testing::BlobKind::kFlac},
                         {.trai = 2,
                          .channel = 1,
                          .time = 5,
                          .pretrigger = 0,
                          .sampleRate = 7000000,
                          .values = testing::TestValues(20000, 2)}},
                        {{1, 0.0030517578125}}, "10000000");
  ExpectSameAsImported(dir / "m.tradb", dir / "out");
}

TEST(DatabaseWaveform, RealRecordsReadAsTheirImportedFiles) {
  const std::string dir = testing::RealDataDir() + "/vallenae-sqlite/";
  if (!std::filesystem::exists(dir + "bearing-bearing.tradb")) GTEST_SKIP() << "no real data";
  testing::TempDir out;
  ExpectSameAsImported(dir + "steel_plate-sample.tradb", out / "plate");
  ExpectSameAsImported(dir + "tests-signal-flac.tradb", out / "signal");
  ExpectSameAsImported(dir + "bearing-bearing.tradb", out / "bearing");
}

TEST(DatabaseWaveform, AnUnusableRecordGivesItsReason) {
  testing::TempDir dir;
  testing::MakeDatabase(dir / "b.tradb",
                        {{.trai = 4, .values = testing::TestValues(10, 1), .dataFormat = 9}});
  WaveformDatabase db;
  std::string why;
  ASSERT_TRUE(db.Open(dir / "b.tradb", why));
  std::vector<DatabaseRecordInfo> list;
  ASSERT_TRUE(db.List({}, list, why));
  DatabaseRecord workspace;
  Waveform wf;
  wf.channel = 7;
  EXPECT_EQ(ReadDatabaseWaveform(db, list.at(0), workspace, wf, why), -1);
  EXPECT_EQ(wf.channel, 0);  // nothing of an earlier record stays
  EXPECT_NE(why.find("TRAI 4: data format 9"), std::string::npos) << why;
}

}  // namespace
}  // namespace plexo
