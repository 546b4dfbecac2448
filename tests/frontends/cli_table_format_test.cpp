// plexo features and avg-fft with --format csv, run as a user runs them: on a messy folder the
// csv table holds what the .txt table holds, cell for cell; an MPI launch writes the same bytes;
// the data frame readers a user would reach for load it in one call.
#include <gtest/gtest.h>

#include <filesystem>

#include "../features/feature_test_data.h"
#include "features/feature_extraction.h"
#include "spectral/average_fft.h"
#include "support/csv_reader.h"
#include "support/run_mpi.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::ReadCsv;
using testing::ReadTabTable;
using testing::RunPlexo;
using testing::TempDir;

// Bursts under names that need quotes in comma-separated text, a README and a folder that are
// no waveforms.
void WriteMessyFolder(const TempDir& dir) {
  const char* names[] = {"hit 1.txt", "hit,2.txt", "\"quoted\" hit.txt", "hit;4.txt"};
  for (int f = 0; f < 4; ++f) {
    testing::WriteWaveformFile(
        dir / names[f], testing::BurstSamples(2048, 1500 + 40 * f, 2e5 + 5e4 * f, 4e5, 1e-7, f + 1),
        1e-7, 1.0 + f);
  }
  testing::WriteBytes(dir / "README.txt", "Recorded on the second rig.\n");
  std::filesystem::create_directory(dir / "old");
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

struct FormatCase {
  const char* name;
  std::string command;  // before DIR
  std::string options;  // after DIR
  std::string (*table)(const std::string& folder, TableFormat format);
  size_t columns;
  bool trailingTab;   // the .txt table ends each line with a tab
  size_t titleLines;  // header lines of the .txt table
};

std::string FeatureTable(const std::string& folder, TableFormat format) {
  return FeatureResultsPath(folder, format);
}
std::string AverageTable(const std::string& folder, TableFormat format) {
  return AverageFftTablePath(folder, format);
}

class CliTableFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(CliTableFormat, CsvHoldsTheTextTablesCellsInItsPlace) {
  const FormatCase& c = GetParam();
  TempDir dir;
  WriteMessyFolder(dir);
  const auto text_run = RunPlexo(c.command + " " + Quoted(dir.path()) + " " + c.options);
  ASSERT_EQ(text_run.status, 0) << text_run.output;
  const std::string text_path = c.table(dir.path(), TableFormat::kText);
  const auto text = ReadTabTable(ReadBytes(text_path), c.trailingTab);
  std::filesystem::remove(text_path);

  const auto csv_run =
      RunPlexo(c.command + " " + Quoted(dir.path()) + " " + c.options + " --format csv");
  ASSERT_EQ(csv_run.status, 0) << csv_run.output;
  const std::string csv_path = c.table(dir.path(), TableFormat::kCsv);
  EXPECT_NE(csv_run.output.find("Wrote " + csv_path + "\n"), std::string::npos) << csv_run.output;
  EXPECT_FALSE(Exists(text_path));  // in place of the .txt table, not beside it
  const std::string bytes = ReadBytes(csv_path);
  const testing::CsvText csv = ReadCsv(bytes);
  ASSERT_TRUE(csv.fault.empty()) << csv.fault;
  EXPECT_EQ(bytes.find(",\r\n"), std::string::npos);  // no separator after the last field

  ASSERT_EQ(csv.rows.size(), text.size() - c.titleLines + 1);
  ASSERT_GT(csv.rows.size(), 4u);
  for (size_t r = 0; r < csv.rows.size(); ++r) {
    ASSERT_EQ(csv.rows[r].size(), c.columns) << "row " << r;
    if (r > 0) {
      EXPECT_EQ(csv.rows[r], text[r + c.titleLines - 1]) << "row " << r;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, CliTableFormat,
                         ::testing::Values(FormatCase{"Features", "features",
                                                      "--all --with-file-names --jobs 2",
                                                      FeatureTable, 26, true, 2},
                                           FormatCase{"AverageFft", "avg-fft", "--window none",
                                                      AverageTable, 7, false, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CliTableFormatTest, AnUnknownFormatIsAUsageErrorAndWritesNothing) {
  TempDir dir;
  WriteMessyFolder(dir);
  for (const std::string command : {"features", "avg-fft"}) {
    const auto run = RunPlexo(command + " " + Quoted(dir.path()) + " --format xls");
    EXPECT_NE(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("--format"), std::string::npos) << run.output;
  }
  EXPECT_FALSE(Exists(dir / "FXData/FX_Results.txt"));
  EXPECT_FALSE(Exists(dir / "avgFFTData/average_FFT.txt"));
}

TEST(CliTableFormatTest, RanksWriteTheOneProcessCsvTable) {
  if (testing::MpiLauncher().empty()) GTEST_SKIP() << "plexo-mpi or mpirun not built/found";
  TempDir dir;
  WriteMessyFolder(dir);
  const std::string args = "features " + Quoted(dir.path()) + " --all --with-file-names";
  ASSERT_EQ(RunPlexo(args + " --format csv").status, 0);
  const std::string path = FeatureResultsPath(dir.path(), TableFormat::kCsv);
  const std::string one_process = ReadBytes(path);
  std::filesystem::remove(path);
  const auto run = testing::RunPlexoOnRanks(3, args + " --format csv --jobs 1");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(ReadBytes(path), one_process);

  // The ranks' average: the csv cells are those of their own .txt table.
  const std::string average = "avg-fft " + Quoted(dir.path()) + " --window none --jobs 1";
  ASSERT_EQ(testing::RunPlexoOnRanks(2, average).status, 0);
  const auto text = ReadTabTable(ReadBytes(AverageFftTablePath(dir.path())), false);
  ASSERT_EQ(testing::RunPlexoOnRanks(2, average + " --format csv").status, 0);
  const auto csv = ReadCsv(ReadBytes(AverageFftTablePath(dir.path(), TableFormat::kCsv)));
  ASSERT_EQ(csv.rows.size(), text.size());
  for (size_t r = 1; r < text.size(); ++r) EXPECT_EQ(csv.rows[r], text[r]) << "row " << r;
}

// The one-liners of the README, where python3 has pandas and numpy.
TEST(CliTableFormatTest, PandasAndNumpyLoadTheTablesInOneCall) {
  // The first python3 on the PATH may be a private one without them; the system's may have both.
  std::string python;
  for (const char* candidate : {"python3", "/usr/bin/python3"}) {
    if (testing::RunCommand(std::string(candidate) + " -c 'import pandas, numpy'").status == 0) {
      python = candidate;
      break;
    }
  }
  if (python.empty()) GTEST_SKIP() << "no python3 with pandas and numpy found";
  TempDir dir;
  WriteMessyFolder(dir);
  ASSERT_EQ(RunPlexo("features " + Quoted(dir.path()) + " --with-file-names --format csv").status,
            0);
  ASSERT_EQ(RunPlexo("avg-fft " + Quoted(dir.path()) + " --window none --format csv").status, 0);
  const auto pandas = testing::RunCommand(
      python +
      " -c 'import sys, pandas as pd; t = pd.read_csv(sys.argv[1]); "
      "print(t.shape, t[\"file name\"].tolist(), t[\"signal energy [J]\"].dtype)' " +
      Quoted(FeatureResultsPath(dir.path(), TableFormat::kCsv)));
  EXPECT_EQ(pandas.status, 0) << pandas.output;
  EXPECT_NE(pandas.output.find("(4, 16) ['\"quoted\" hit.txt', 'hit 1.txt', 'hit,2.txt', "
                               "'hit;4.txt'] float64"),
            std::string::npos)
      << pandas.output;
  const auto numpy = testing::RunCommand(
      python +
      " -c 'import sys, numpy as np; "
      "t = np.genfromtxt(sys.argv[1], delimiter=\",\", names=True); "
      "print(t.shape, t.dtype.names[0], round(t[\"Frequency_Hz\"][1] * 2048 * 1e-7, 4))' " +
      Quoted(AverageFftTablePath(dir.path(), TableFormat::kCsv)));
  EXPECT_EQ(numpy.status, 0) << numpy.output;
  EXPECT_NE(numpy.output.find("(1024,) Frequency_Hz 1.0"), std::string::npos) << numpy.output;
}

}  // namespace
}  // namespace plexo
