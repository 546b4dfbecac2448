// Databases made here (raw and FLAC records, and every way a record can be unusable) and the
// real ones beside the source tree: samples against a plain scaling of the raw blob.
#include "signal/waveform_database.h"

// The records below name only the fields that differ from a plain one.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "import/import_reference.h"
#include "support/database_maker.h"

namespace plexo {
namespace {

using testing::BlobKind;
using testing::MadeRecord;
using testing::MakeDatabase;
using testing::TestValues;

class WaveformDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("plexo_tradb_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

  std::filesystem::path folder_;
};

TEST_F(WaveformDatabaseTest, RawAndFlacRecordsReadAsTheirValuesScaledToVolts) {
  const auto a = TestValues(5000, 1);
  const auto b = TestValues(4097, 2);
  MakeDatabase(Path("w.tradb"),
               {{.trai = 2,
                 .channel = 3,
                 .time = 25000000,
                 .pretrigger = 500,
                 .sampleRate = 5000000,
                 .values = a,
                 .kind = BlobKind::kFlac},
                {.trai = 1,
                 .channel = 1,
                 .time = 12345678,
                 .pretrigger = 0,
                 .sampleRate = 2000000,
                 .paramId = 2,
                 .values = b,
                 .kind = BlobKind::kRaw}},
               {{1, 0.0030517578125}, {2, 1.5222644109346688}});
  WaveformDatabase db;
  std::string why;
  ASSERT_TRUE(db.Open(Path("w.tradb"), why)) << why;
  std::vector<DatabaseRecordInfo> list;
  ASSERT_TRUE(db.List({}, list, why)) << why;
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].trai, 1);  // TRAI order, not row order
  EXPECT_EQ(list[1].trai, 2);
  EXPECT_EQ(list[1].channel, 3);

  DatabaseRecord r;
  ASSERT_TRUE(db.Read(list[1].rowId, r, why)) << why;
  ASSERT_EQ(r.volts.size(), a.size());
  for (size_t i = 0; i < a.size(); ++i) {
    ASSERT_EQ(r.volts[i], a[i] * 0.0030517578125 / 1000.0) << i;
  }
  EXPECT_EQ(r.SampleInterval(), 2e-7);
  EXPECT_DOUBLE_EQ(r.triggerTime, 2.5);
  EXPECT_DOUBLE_EQ(r.FirstSampleTime(), 2.5 - 500 * 2e-7);

  ASSERT_TRUE(db.Read(list[0].rowId, r, why)) << why;
  ASSERT_EQ(r.volts.size(), b.size());
  for (size_t i = 0; i < b.size(); ++i) {
    ASSERT_EQ(r.volts[i], b[i] * 1.5222644109346688 / 1000.0) << i;
  }
  EXPECT_EQ(r.channel, 1);
  EXPECT_DOUBLE_EQ(r.triggerTime, 1.2345678);
}

TEST_F(WaveformDatabaseTest, SelectionByTraiRangeAndChannel) {
  std::vector<MadeRecord> records;
  for (int t = 1; t <= 12; ++t) {
    records.push_back({.trai = t, .channel = 1 + t % 3, .values = TestValues(16, t)});
  }
  MakeDatabase(Path("s.tradb"), records);
  WaveformDatabase db;
  std::string why;
  ASSERT_TRUE(db.Open(Path("s.tradb"), why)) << why;
  std::vector<DatabaseRecordInfo> list;
  ASSERT_TRUE(db.List({.traiFirst = 3, .traiLast = 9, .channel = 2}, list, why));
  std::vector<std::int64_t> trais;
  for (const auto& r : list) trais.push_back(r.trai);
  EXPECT_EQ(trais, (std::vector<std::int64_t>{4, 7}));
  ASSERT_TRUE(db.List({.traiFirst = 12, .traiLast = 12}, list, why));
  EXPECT_EQ(list.size(), 1u);
}

// Each unusable record is refused with a reason naming the database and the TRAI; the next
// record still reads.
struct BadRecordCase {
  const char* name;
  MadeRecord record;
  const char* reason;
};

class BadRecordTest : public WaveformDatabaseTest,
                      public ::testing::WithParamInterface<BadRecordCase> {};

TEST_P(BadRecordTest, IsRefusedByTraiAndTheNextOneReads) {
  MadeRecord bad = GetParam().record;
  bad.trai = 7;
  MakeDatabase(Path("bad.tradb"), {bad, {.trai = 8, .values = TestValues(100, 8)}});
  WaveformDatabase db;
  std::string why;
  ASSERT_TRUE(db.Open(Path("bad.tradb"), why)) << why;
  std::vector<DatabaseRecordInfo> list;
  ASSERT_TRUE(db.List({}, list, why));
  ASSERT_EQ(list.size(), 2u);
  DatabaseRecord r;
  EXPECT_FALSE(db.Read(list[0].rowId, r, why));
  EXPECT_NE(why.find(Path("bad.tradb") + ": TRAI 7: "), std::string::npos) << why;
  EXPECT_NE(why.find(GetParam().reason), std::string::npos) << why;
  why.clear();
  EXPECT_TRUE(db.Read(list[1].rowId, r, why)) << why;
  EXPECT_EQ(r.volts.size(), 100u);
}

INSTANTIATE_TEST_SUITE_P(
    Records, BadRecordTest,
    ::testing::Values(
        BadRecordCase{"UnknownFormat",
                      {.values = TestValues(64, 1), .dataFormat = 5},
                      "data format 5 is none this program reads"},
        BadRecordCase{"TruncatedRawBlob",
                      {.values = TestValues(64, 1), .samplesField = 65},
                      "128 bytes of raw samples where 65 samples take 130"},
        BadRecordCase{"LongerRawBlob",
                      {.values = TestValues(64, 1), .samplesField = 10},
                      "128 bytes of raw samples where 10 samples take 20"},
        BadRecordCase{
            "ShortFlacStream",
            {.values = TestValues(1000, 2), .kind = BlobKind::kFlac, .samplesField = 1200},
            "the FLAC stream holds 1000 samples where the record says 1200"},
        BadRecordCase{"TruncatedFlacStream",
                      {.values = TestValues(64, 3),
                       .dataFormat = 2,
                       .blob = testing::FlacOf(TestValues(3000, 3)).substr(0, 900)},
                      "FLAC"},
        BadRecordCase{"NotFlacAtAll",
                      {.values = TestValues(64, 3), .dataFormat = 2, .blob = "not a flac stream"},
                      "FLAC"},
        BadRecordCase{"NoParamsRow",
                      {.paramId = 99, .values = TestValues(64, 4)},
                      "no tr_params row for its ParamID"},
        BadRecordCase{"ZeroSampleRate",
                      {.sampleRate = 0, .values = TestValues(64, 5)},
                      "a sample rate that is not positive (0)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WaveformDatabaseTest, FilesThatAreNoDatabaseAreRefusedNamingThem) {
  std::ofstream(Path("text.tradb")) << "SAMPLE INTERVAL (Seconds): 1e-7\n0.1\n";
  MakeDatabase(Path("no_time_base.tradb"), {{.values = TestValues(8, 1)}}, {{1, 1.0}}, nullptr);
  MakeDatabase(Path("zero_time_base.tradb"), {{.values = TestValues(8, 1)}}, {{1, 1.0}}, "0");
  {
    sqlite3* db = nullptr;
    sqlite3_open(Path("other.tradb").c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE hits (x INT)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  ASSERT_EQ(::mkfifo(Path("pipe.tradb").c_str(), 0600), 0);
  std::filesystem::create_directory(folder_ / "folder.tradb");
  for (const char* name : {"text.tradb", "no_time_base.tradb", "zero_time_base.tradb",
                           "other.tradb", "pipe.tradb", "folder.tradb", "missing.tradb"}) {
    WaveformDatabase db;
    std::string why;
    EXPECT_FALSE(db.Open(Path(name), why)) << name;
    EXPECT_EQ(why.rfind(Path(name) + ": ", 0), 0u) << why;
  }
}

TEST_F(WaveformDatabaseTest, AnEmptyTableListsNoRecord) {
  MakeDatabase(Path("empty.tradb"), {});
  WaveformDatabase db;
  std::string why;
  ASSERT_TRUE(db.Open(Path("empty.tradb"), why)) << why;
  std::vector<DatabaseRecordInfo> list{{1, 2, 3}};
  ASSERT_TRUE(db.List({}, list, why));
  EXPECT_TRUE(list.empty());
}

TEST_F(WaveformDatabaseTest, ReadingLeavesTheFileAsItWasAndNeedsNoWriteAccess) {
  MakeDatabase(Path("ro.tradb"), {{.values = TestValues(300, 1), .kind = BlobKind::kFlac}});
  std::ifstream in(Path("ro.tradb"), std::ios::binary);
  const std::string before((std::istreambuf_iterator<char>(in)), {});
  ::chmod(Path("ro.tradb").c_str(), 0444);
  ::chmod(folder_.c_str(), 0555);  // no journal could be made beside it
  {
    WaveformDatabase db;
    std::string why;
    ASSERT_TRUE(db.Open(Path("ro.tradb"), why)) << why;
    std::vector<DatabaseRecordInfo> list;
    ASSERT_TRUE(db.List({}, list, why));
    DatabaseRecord r;
    ASSERT_TRUE(db.Read(list.at(0).rowId, r, why)) << why;
  }
  ::chmod(folder_.c_str(), 0755);
  std::ifstream again(Path("ro.tradb"), std::ios::binary);
  const std::string after((std::istreambuf_iterator<char>(again)), {});
  EXPECT_EQ(before, after);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);
}

// The real databases: the FLAC one and its raw twin hold the same four records, and the raw
// blobs scaled by hand give the samples.
TEST(RealWaveformDatabases, FlacRecordsEqualTheirRawTwinsBitForBit) {
  const std::string dir = testing::RealDataDir() + "/vallenae-sqlite/";
  if (!std::filesystem::exists(dir + "steel_plate-sample.tradb")) GTEST_SKIP() << "no real data";
  WaveformDatabase flac, raw;
  std::string why;
  ASSERT_TRUE(flac.Open(dir + "steel_plate-sample.tradb", why)) << why;
  ASSERT_TRUE(raw.Open(dir + "steel_plate-sample_plain.tradb", why)) << why;
  std::vector<DatabaseRecordInfo> a, b;
  ASSERT_TRUE(flac.List({}, a, why));
  ASSERT_TRUE(raw.List({}, b, why));
  ASSERT_EQ(a.size(), 4u);
  ASSERT_EQ(b.size(), 4u);
  sqlite3* plain = nullptr;
  sqlite3_open_v2((dir + "steel_plate-sample_plain.tradb").c_str(), &plain, SQLITE_OPEN_READONLY,
                  nullptr);
  for (size_t k = 0; k < a.size(); ++k) {
    DatabaseRecord ra, rb;
    ASSERT_TRUE(flac.Read(a[k].rowId, ra, why)) << why;
    ASSERT_TRUE(raw.Read(b[k].rowId, rb, why)) << why;
    EXPECT_EQ(ra.trai, static_cast<std::int64_t>(k + 1));
    EXPECT_GE(ra.volts.size(), 96256u);
    EXPECT_EQ(ra.volts, rb.volts) << "TRAI " << ra.trai;
    EXPECT_EQ(ra.sampleRate, 5000000);
    EXPECT_EQ(ra.pretrigger, 500);
    EXPECT_EQ(ra.triggerTime, rb.triggerTime);

    // By hand: the blob's little-endian int16 values times TR_mV / 1000.
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(plain,
                       "SELECT Data, TR_mV FROM tr_data JOIN tr_params ON ID = ParamID "
                       "WHERE TRAI = ?",
                       -1, &s, nullptr);
    sqlite3_bind_int64(s, 1, rb.trai);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(s, 0));
    const double mv = sqlite3_column_double(s, 1);
    ASSERT_EQ(sqlite3_column_bytes(s, 0), static_cast<int>(2 * rb.volts.size()));
    for (size_t i = 0; i < rb.volts.size(); ++i) {
      const int v = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
      ASSERT_EQ(rb.volts[i], v * mv / 1000.0) << i;
    }
    sqlite3_finalize(s);
  }
  sqlite3_close(plain);
}

TEST(RealWaveformDatabases, BearingRecordsAndTheTestSignals) {
  const std::string dir = testing::RealDataDir() + "/vallenae-sqlite/";
  if (!std::filesystem::exists(dir + "bearing-bearing.tradb")) GTEST_SKIP() << "no real data";
  WaveformDatabase db;
  std::string why;
  ASSERT_TRUE(db.Open(dir + "bearing-bearing.tradb", why)) << why;
  std::vector<DatabaseRecordInfo> list;
  ASSERT_TRUE(db.List({}, list, why));
  ASSERT_EQ(list.size(), 490u);
  DatabaseRecord r;
  for (size_t k = 0; k < list.size(); ++k) {
    ASSERT_EQ(list[k].trai, static_cast<std::int64_t>(k + 1));
    ASSERT_TRUE(db.Read(list[k].rowId, r, why)) << why;
    ASSERT_EQ(r.volts.size(), 5000u);
  }
  EXPECT_EQ(r.sampleRate, 500000);
  // Gapless: record k starts 5,000 samples (10 ms) after record k - 1.
  EXPECT_DOUBLE_EQ(r.FirstSampleTime(), 489 * 0.01);

  WaveformDatabase flac, raw;
  ASSERT_TRUE(flac.Open(dir + "tests-signal-flac.tradb", why)) << why;
  ASSERT_TRUE(raw.Open(dir + "tests-signal-raw.tradb", why)) << why;
  EXPECT_EQ(flac.TimeBase(), 1.0);
  DatabaseRecord a, b;
  ASSERT_TRUE(flac.Read(1, a, why)) << why;
  ASSERT_TRUE(raw.Read(1, b, why)) << why;
  EXPECT_EQ(a.volts.size(), 1024u);
  EXPECT_EQ(a.volts, b.volts);
}

}  // namespace
}  // namespace plexo
