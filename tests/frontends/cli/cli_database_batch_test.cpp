// The folder batches (features, avg-fft, avg-tft) on a waveform database read its records
// directly, and give byte for byte the results of the same batch over the files `plexo import`
// writes for it: raw and FLAC records, records stored out of TRAI order, a corrupt record
// (skipped, named by its TRAI), on one and on two threads. The real databases too, when present.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "support/database_maker.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"

// The records below name only the fields that differ from a plain one.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace plexo {
namespace {

namespace fs = std::filesystem;
using testing::BlobKind;
using testing::MadeRecord;
using testing::ReadBytes;
using testing::RunPlexo;
using testing::TempDir;
using testing::TestValues;

// A decaying 150 kHz burst with a little of the test noise, as a sensor gives it.
std::vector<std::int16_t> Burst(int n, int seed) {
  std::vector<std::int16_t> v = TestValues(n, seed);
  for (int i = 0; i < n; ++i) {
    const double burst = 12000.0 * std::exp(-i / 600.0) * std::sin(0.188 * i + seed);
    v[static_cast<size_t>(i)] = static_cast<std::int16_t>(burst + v[static_cast<size_t>(i)] / 64);
  }
  return v;
}

// Every regular file of a folder with its bytes, by name.
std::vector<std::pair<std::string, std::string>> FolderBytes(const std::string& folder) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const auto& entry : fs::directory_iterator(folder))
    files.emplace_back(entry.path().filename().string(), ReadBytes(entry.path().string()));
  std::sort(files.begin(), files.end());
  return files;
}

struct Batch {
  const char* command;
  const char* results;  // the result folder's name after "<stem>_" (or inside the folder)
  const char* options;
};

const Batch kBatches[] = {
    {"features", "FXData", " --all"},
    {"avg-fft", "avgFFTData", ""},
    {"avg-tft", "avgWTData",
     " --method cwt --time-start 0 --time-end 4e-4 --freq-start 0 --freq-end 1e6 --freq-res 1e5"},
};

class CliDatabaseBatch : public ::testing::Test {
 protected:
  void SetUp() override {
    // Out of TRAI order in the table; TRAI 3's blob holds fewer bytes than its sample count.
    MadeRecord corrupt{3, 1, 30000000, 100, 5000000, 1, Burst(2048, 3)};
    corrupt.samplesField = 4096;
    testing::MakeDatabase(
        database_, {MadeRecord{4, 2, 40000000, 200, 5000000, 1, Burst(4096, 4), BlobKind::kFlac},
                    MadeRecord{1, 1, 10000000, 100, 5000000, 1, Burst(4096, 1)}, corrupt,
                    MadeRecord{2, 1, 20000000, 0, 5000000, 1, Burst(4096, 2), BlobKind::kFlac},
                    MadeRecord{5, 2, 50000000, 100, 5000000, 1, Burst(3000, 5)}});
    const testing::PlexoResult imported =
        RunPlexo("import '" + database_ + "' --to '" + imported_ + "'");
    ASSERT_TRUE(fs::exists(imported_ + "/rig_5.txt")) << imported.output;
    ASSERT_FALSE(fs::exists(imported_ + "/rig_3.txt"));
  }

  TempDir dir_;
  std::string database_ = dir_.File("rig.tradb");
  std::string imported_ = dir_.File("imported");
};

TEST_F(CliDatabaseBatch, EveryBatchGivesTheResultsOfTheImportedFiles) {
  for (const Batch& batch : kBatches) {
    SCOPED_TRACE(batch.command);
    const testing::PlexoResult files =
        RunPlexo(std::string(batch.command) + " '" + imported_ + "'" + batch.options);
    ASSERT_EQ(files.status, 0) << files.output;
    const auto expected = FolderBytes(imported_ + "/" + batch.results);
    ASSERT_FALSE(expected.empty());
    for (const char* jobs : {"1", "2"}) {
      SCOPED_TRACE(jobs);
      fs::remove_all(dir_.File(std::string("rig_") + batch.results));
      const testing::PlexoResult direct = RunPlexo(std::string(batch.command) + " '" + database_ +
                                                   "'" + batch.options + " --jobs " + jobs);
      ASSERT_EQ(direct.status, 0) << direct.output;
      EXPECT_NE(direct.output.find(database_ + ": TRAI 3: "), std::string::npos) << direct.output;
      EXPECT_EQ(FolderBytes(dir_.File(std::string("rig_") + batch.results)), expected);
    }
  }
}

TEST_F(CliDatabaseBatch, TheFileNameColumnHoldsTheTrai) {
  ASSERT_EQ(RunPlexo("features '" + imported_ + "' --with-file-names").status, 0);
  const testing::PlexoResult r = RunPlexo("features '" + database_ + "' --with-file-names");
  ASSERT_EQ(r.status, 0) << r.output;
  std::string expected = ReadBytes(imported_ + "/FXData/FX_Results.txt");
  for (const char* trai : {"1", "2", "4", "5"}) {
    const std::string name = std::string("rig_") + trai + ".txt\t";
    expected.replace(expected.find(name), name.size(), std::string(trai) + "\t");
  }
  EXPECT_EQ(ReadBytes(dir_.File("rig_FXData/FX_Results.txt")), expected);
}

TEST_F(CliDatabaseBatch, StrictStopsAtTheCorruptRecordAndWritesNothing) {
  for (const Batch& batch : kBatches) {
    SCOPED_TRACE(batch.command);
    const testing::PlexoResult r =
        RunPlexo(std::string(batch.command) + " '" + database_ + "' --strict" + batch.options);
    EXPECT_NE(r.status, 0) << r.output;
    EXPECT_NE(r.output.find(database_ + ": TRAI 3: "), std::string::npos) << r.output;
    const std::string results = dir_.File(std::string("rig_") + batch.results);
    EXPECT_TRUE(!fs::exists(results) || fs::is_empty(results)) << results;
  }
}

TEST_F(CliDatabaseBatch, NotADatabaseIsRefusedNamingIt) {
  testing::WriteBytes(dir_.File("notes.tradb"), "Rig 2, sensor on the left flange.\n");
  for (const Batch& batch : kBatches) {
    SCOPED_TRACE(batch.command);
    const testing::PlexoResult missing =
        RunPlexo(std::string(batch.command) + " '" + dir_.File("missing.tradb") + "'");
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.output.find("missing.tradb"), std::string::npos) << missing.output;
    const testing::PlexoResult text =
        RunPlexo(std::string(batch.command) + " '" + dir_.File("notes.tradb") + "'");
    EXPECT_NE(text.status, 0);
    EXPECT_NE(text.output.find("notes.tradb"), std::string::npos) << text.output;
  }
}

// The lines of a feature table with file names <stem>_<TRAI>.txt in the first column, that
// column replaced by the TRAI and the data lines put in TRAI order: the table of the database.
std::string InTraiOrder(const std::string& table, const std::string& stem) {
  std::vector<std::pair<long, std::string>> rows;
  std::string head;
  size_t at = 0;
  for (int line = 0; at < table.size(); ++line) {
    const size_t end = table.find('\n', at) + 1;
    std::string text = table.substr(at, end - at);
    at = end;
    if (line < 2) {
      head += text;
      continue;
    }
    const size_t tab = text.find('\t');
    const std::string trai = text.substr(stem.size() + 1, tab - stem.size() - 5);
    rows.emplace_back(std::stol(trai), trai + text.substr(tab));
  }
  std::sort(rows.begin(), rows.end());
  for (const auto& row : rows) head += row.second;
  return head;
}

// 490 records of 5,000 samples at 500 kHz.
TEST(CliRealDatabaseBatch, BearingFeaturesEqualThoseOfItsImportedFiles) {
  const std::string database =
      std::string(PLEXO_REALDATA_DIR) + "/vallenae-sqlite/bearing-bearing.tradb";
  if (!fs::exists(database)) GTEST_SKIP() << database << " is not here";
  TempDir dir;
  const std::string copy = dir.File("bearing.tradb");
  fs::copy_file(database, copy);  // the results go beside the database: not into the shared data
  ASSERT_EQ(RunPlexo("import '" + copy + "' --to '" + dir.File("files") + "'").status, 0);
  ASSERT_EQ(RunPlexo("features '" + dir.File("files") + "' --all --with-file-names").status, 0);
  const testing::PlexoResult r = RunPlexo("features '" + copy + "' --all --with-file-names");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("Features of 490 "), std::string::npos) << r.output;
  EXPECT_EQ(ReadBytes(dir.File("bearing_FXData/FX_Results.txt")),
            InTraiOrder(ReadBytes(dir.File("files/FXData/FX_Results.txt")), "bearing"));
}

}  // namespace
}  // namespace plexo
