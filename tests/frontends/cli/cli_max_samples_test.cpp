// --max-samples: waveforms within 16384 samples give the same bytes with and without it, in
// every command that takes it; a 100,000-sample tone (a file, and a database record) is refused
// by default with a hint naming the option and, with it, read at its own frequency by the
// Single FFT, the Average FFT and the features.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/database_maker.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"

#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace plexo {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RunPlexo;
using testing::TempDir;

constexpr double kTone = 150e3;  // Hz
constexpr double kDt = 2e-7;     // 5 MHz
constexpr int kLong = 100000;

double ToneSample(int i) { return 0.5 * std::sin(2.0 * M_PI * kTone * i * kDt); }

void WriteTone(const std::string& path) {
  std::string text =
      "SOURCE FILE NAME: -/-\nDATE:\t\nTIME:\t\nSAMPLE INTERVAL (Seconds):   2e-07\n"
      "UNITS:\tvolts\nCHANNEL NUMBER:\t1\nHIT NUMBER: -/-\nTIME OF TEST:\t0\n\n";
  char line[64];
  for (int i = 0; i < kLong; ++i) {
    std::snprintf(line, sizeof line, "%.9f\n", ToneSample(i));
    text += line;
  }
  testing::WriteBytes(path, text);
}

// The numbers of the data lines of a table (after `skip` title lines), row by row.
std::vector<std::vector<double>> Rows(const std::string& path, int skip) {
  std::vector<std::vector<double>> rows;
  std::istringstream in(ReadBytes(path));
  std::string line;
  for (int n = 0; std::getline(in, line); ++n) {
    if (n < skip) continue;
    std::istringstream fields(line);
    std::vector<double> row;
    for (double v; fields >> v;) row.push_back(v);
    if (!row.empty()) rows.push_back(row);
  }
  return rows;
}

// The frequency (column 0) of the row whose magnitude (column `magnitude`, or |re + i im| of
// columns 1 and 2 when -1) is largest.
double PeakFrequency(const std::vector<std::vector<double>>& rows, int magnitude) {
  double best = -1.0, frequency = 0.0;
  for (const std::vector<double>& row : rows) {
    const double m = magnitude < 0 ? std::hypot(row[1], row[2]) : row[magnitude];
    if (m > best) best = m, frequency = row[0];
  }
  return frequency;
}

TEST(CliMaxSamples, WaveformsWithinTheDefaultGiveTheSameBytes) {
  TempDir dir;
  for (const char* hit : {"hit_001.txt", "hit_002.txt", "hit_003.txt"})
    fs::copy_file(std::string(PLEXO_EXAMPLES_DIR) + "/" + hit, dir.File(hit));
  struct Run {
    std::string command;
    std::vector<std::string> outputs;
  };
  const std::vector<Run> runs = {
      {"fft '" + dir.File("hit_001.txt") + "'",
       {dir.File("hit_001_fft.txt"), dir.File("hit_001_fft_preview.bmp")}},
      {"avg-fft '" + dir.path() + "'",
       {dir.File("avgFFTData/average_FFT.txt"), dir.File("avgFFTData/average_FFT_preview.bmp")}},
      {"features '" + dir.path() + "' --all", {dir.File("FXData/FX_Results.txt")}},
  };
  for (const Run& run : runs) {
    SCOPED_TRACE(run.command);
    ASSERT_EQ(RunPlexo(run.command).status, 0);
    std::vector<std::string> before;
    for (const std::string& output : run.outputs) before.push_back(ReadBytes(output));
    for (const char* limit : {"16384", "100000", "1048576"}) {
      for (const std::string& output : run.outputs) fs::remove(output);
      const testing::PlexoResult r = RunPlexo(run.command + " --max-samples " + limit);
      ASSERT_EQ(r.status, 0) << r.output;
      for (size_t k = 0; k < run.outputs.size(); ++k)
        EXPECT_EQ(ReadBytes(run.outputs[k]), before[k]) << run.outputs[k] << " " << limit;
    }
  }
}

TEST(CliMaxSamples, ALongToneIsRefusedByDefaultAndReadAtItsFrequencyWithTheOption) {
  TempDir dir;
  fs::create_directory(dir.File("long"));
  const std::string file = dir.File("long/tone.txt");
  WriteTone(file);
  // The transform of 131072 points: bins 5 MHz / 131072 = 38 Hz apart.
  const double bin = 1.0 / (131072 * kDt);
  for (const std::string& command : {"fft '" + file + "'", "avg-fft '" + dir.File("long") + "'",
                                     "features '" + dir.File("long") + "'"}) {
    SCOPED_TRACE(command);
    const testing::PlexoResult refused = RunPlexo(command);
    EXPECT_NE(refused.status, 0);
    EXPECT_NE(refused.output.find("Sampling size of 100000 exceeds program limit of 16384!"),
              std::string::npos)
        << refused.output;
    EXPECT_NE(refused.output.find("--max-samples"), std::string::npos) << refused.output;
    const testing::PlexoResult short_limit = RunPlexo(command + " --max-samples 65536");
    EXPECT_NE(short_limit.output.find("exceeds program limit of 65536!"), std::string::npos)
        << short_limit.output;
  }
  testing::PlexoResult r = RunPlexo("fft '" + file + "' --max-samples 100000");
  ASSERT_EQ(r.status, 0) << r.output;
  const auto fft = Rows(dir.File("long/tone_fft.txt"), 1);
  EXPECT_EQ(fft.size(), 65536u);
  EXPECT_NEAR(PeakFrequency(fft, -1), kTone, bin);

  r = RunPlexo("avg-fft '" + dir.File("long") + "' --max-samples 131072");
  ASSERT_EQ(r.status, 0) << r.output;
  const auto average = Rows(dir.File("long/avgFFTData/average_FFT.txt"), 1);
  EXPECT_EQ(average.size(), 65536u);
  EXPECT_NEAR(PeakFrequency(average, 3), kTone, bin);

  r = RunPlexo("features '" + dir.File("long") +
               "' --columns peak-frequency-1 --time-start 0 --time-end 0.02 --max-samples 100000");
  ASSERT_EQ(r.status, 0) << r.output;
  const auto features = Rows(dir.File("long/FXData/FX_Results.txt"), 2);
  ASSERT_EQ(features.size(), 1u);
  EXPECT_NEAR(features[0][0], kTone, bin);
}

TEST(CliMaxSamples, ALongDatabaseRecordGivesTheFeaturesOfItsImportedFile) {
  TempDir dir;
  std::vector<std::int16_t> values(kLong);
  for (int i = 0; i < kLong; ++i) values[i] = static_cast<std::int16_t>(20000 * ToneSample(i));
  testing::MakeDatabase(
      dir.File("plate.tradb"),
      {testing::MadeRecord{7, 1, 0, 0, 5000000, 1, values, testing::BlobKind::kFlac}});
  ASSERT_EQ(
      RunPlexo("import '" + dir.File("plate.tradb") + "' --to '" + dir.File("files") + "'").status,
      0);
  // No wavelet column: its window may not be wider than the maps' 16384 columns.
  const std::string options =
      " --columns arrival-time,amplitude,energy,peak-frequency-1,peak-frequency-2,centroid,"
      "partial-power-1,partial-power-2 --time-end 0.02 --max-samples 131072";
  ASSERT_EQ(RunPlexo("features '" + dir.File("files") + "'" + options).status, 0);
  const testing::PlexoResult r = RunPlexo("features '" + dir.File("plate.tradb") + "'" + options);
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(ReadBytes(dir.File("plate_FXData/FX_Results.txt")),
            ReadBytes(dir.File("files/FXData/FX_Results.txt")));
}

// Four 5 MHz records of 96,256 to 103,488 samples, stored as FLAC in one database and raw in
// the other: one table and one average, and none without the option.
TEST(CliMaxSamples, TheRealSteelPlateRecordsGiveOneResultRawOrFlac) {
  const std::string real = std::string(PLEXO_REALDATA_DIR) + "/vallenae-sqlite/";
  if (!fs::exists(real + "steel_plate-sample.tradb")) GTEST_SKIP() << real << " is not here";
  TempDir dir;
  fs::create_directory(dir.File("flac"));
  fs::create_directory(dir.File("raw"));
  // The results go beside a database: copies, not the shared data.
  fs::copy_file(real + "steel_plate-sample.tradb", dir.File("flac/plate.tradb"));
  fs::copy_file(real + "steel_plate-sample_plain.tradb", dir.File("raw/plate.tradb"));
  const std::string columns =
      " --columns amplitude,energy,peak-frequency-1,centroid,partial-power-1 --with-file-names";
  EXPECT_NE(RunPlexo("features '" + dir.File("flac/plate.tradb") + "'" + columns).status, 0);
  for (const char* kind : {"flac", "raw"}) {
    const std::string db = dir.File(std::string(kind) + "/plate.tradb");
    testing::PlexoResult r = RunPlexo("features '" + db + "'" + columns + " --max-samples 131072");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Features of 4 waveform records"), std::string::npos) << r.output;
    r = RunPlexo("avg-fft '" + db + "' --max-samples 131072 --jobs 2");
    ASSERT_EQ(r.status, 0) << r.output;
  }
  for (const char* result : {"plate_FXData/FX_Results.txt", "plate_avgFFTData/average_FFT.txt"})
    EXPECT_EQ(ReadBytes(dir.File(std::string("flac/") + result)),
              ReadBytes(dir.File(std::string("raw/") + result)))
        << result;
}

TEST(CliMaxSamples, ALimitOutsideTheRangeIsRefused) {
  for (const char* limit : {"16383", "1048577", "2e9", "many"}) {
    const testing::PlexoResult r =
        RunPlexo(std::string("avg-fft '") + PLEXO_EXAMPLES_DIR + "' --max-samples " + limit);
    EXPECT_NE(r.status, 0) << limit;
    EXPECT_NE(r.output.find("1048576"), std::string::npos) << r.output;
  }
}

}  // namespace
}  // namespace plexo
