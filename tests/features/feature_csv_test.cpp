// The feature table as comma-separated text: read back by a plain reader, it holds the .txt
// table's titles with their units and the .txt table's cells, for every column and for file
// names that need quotes.
#include "features/feature_csv.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "feature_test_data.h"
#include "features/feature_extraction.h"
#include "platform/file_system.h"
#include "platform/recording_host.h"
#include "support/csv_reader.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::ReadBytes;
using testing::ReadCsv;
using testing::ReadTabTable;
using testing::TempDir;

// Names a spreadsheet reader splits or ends a row at unless they are quoted.
const std::vector<std::string> kOddNames = {
    "plain.txt",       "comma,in,name.txt", "say \"hi\".txt", "both, \"x\".txt",
    "sp ace;semi.txt", "line\nbreak.txt",   "cr\rhere.txt"};

void WriteOddFolder(const TempDir& dir) {
  for (size_t f = 0; f < kOddNames.size(); ++f) {
    const auto x = testing::BurstSamples(3000 + 50 * static_cast<int>(f), 2000 + 17 * f,
                                         1.8e5 + 3e4 * f, 4.5e5, 1e-7, 7 + f);
    testing::WriteWaveformFile(dir / kOddNames[f], x, 1e-7, 0.25 * f + 1.0);
  }
}

CalcStatus Extract(const TempDir& dir, TableFormat format, RecordingHost& host, int jobs = 2) {
  FeatureRequest request;
  request.folder = dir.path();
  request.columns.set();  // every column
  request.withFileNames = true;
  request.format = format;
  request.jobs = jobs;
  FeatureWorkspace workspace;
  NullProgress progress;
  return ExtractFeatures(workspace, request, progress, host);
}

TEST(FeatureCsvTest, HoldsTheTextTablesTitlesUnitsAndCellsForEveryColumn) {
  TempDir dir;
  WriteOddFolder(dir);
  RecordingHost text_host;
  ASSERT_EQ(Extract(dir, TableFormat::kText, text_host), CalcStatus::kDone);
  RecordingHost csv_host;
  ASSERT_EQ(Extract(dir, TableFormat::kCsv, csv_host), CalcStatus::kDone);
  EXPECT_TRUE(csv_host.messages.empty());

  const std::string bytes = ReadBytes(FeatureResultsPath(dir.path(), TableFormat::kCsv));
  const testing::CsvText csv = ReadCsv(bytes);
  ASSERT_TRUE(csv.fault.empty()) << csv.fault;
  // The .txt table skips the two names with a line break; the csv table keeps all seven.
  const auto text = ReadTabTable(ReadBytes(FeatureResultsPath(dir.path())), true);
  ASSERT_EQ(text.size(), 2u + kOddNames.size() - 2);
  ASSERT_EQ(csv.rows.size(), 1u + kOddNames.size());

  // Header: "title [unit]" from the .txt table's two lines, the file name column alone.
  ASSERT_EQ(csv.rows[0].size(), 26u);
  EXPECT_EQ(csv.rows[0][0], "file name");
  for (size_t c = 1; c < 26; ++c)
    EXPECT_EQ(csv.rows[0][c], text[0][c] + " [" + text[1][c] + "]") << "column " << c;

  // Rows in name order; each row of a name the .txt table holds has its cells exactly.
  std::vector<std::string> sorted = kOddNames;
  std::sort(sorted.begin(), sorted.end());
  size_t t = 2;
  for (size_t r = 1; r < csv.rows.size(); ++r) {
    const auto& row = csv.rows[r];
    ASSERT_EQ(row.size(), 26u) << "row " << r;
    EXPECT_EQ(row[0], sorted[r - 1]);
    if (row[0].find_first_of("\r\n") != std::string::npos) continue;
    EXPECT_EQ(row, text[t]) << "row " << r;
    ++t;
  }
  EXPECT_EQ(t, text.size());
  // The host hears what each run wrote (the desktop's status bar shows it).
  EXPECT_EQ(text_host.written, std::vector<std::string>{FeatureResultsPath(dir.path())});
  EXPECT_EQ(csv_host.written,
            std::vector<std::string>{FeatureResultsPath(dir.path(), TableFormat::kCsv)});
}

TEST(FeatureCsvTest, HeaderRowIsExactAndNoLineEndsWithASeparator) {
  FeatureColumns columns;
  columns.set(kColArrivalTime).set(kColSignalEnergy).set(kColModulusMaximum);
  columns.set(kColTimeFrequencyPower1 + 3);
  EXPECT_EQ(FeatureCsvHeader(columns, false),
            "arrival time [s],signal energy [J],modulus maximus [units],"
            "time-frequeny power 4 [%]\r\n");
  EXPECT_EQ(FeatureCsvHeader(columns, true),
            "file name,arrival time [s],signal energy [J],modulus maximus [units],"
            "time-frequeny power 4 [%]\r\n");

  FeatureValues values;
  values.arrivalTime = 1.5;
  values.signalEnergy = -2.5e-12;
  values.modulusMaximum = 7;
  values.timeFrequencyPower[3] = 12.25;
  std::string row;
  const std::string name = "a,\"b\".txt";
  AppendFeatureCsvRow(row, values, columns, &name);
  EXPECT_EQ(row,
            "\"a,\"\"b\"\".txt\",1.50000000000000e+000,-2.500000e-012,7.000000e+000,"
            "1.225000e+001\r\n");
  row.clear();
  AppendFeatureCsvRow(row, values, FeatureColumns().set(kColPeakAmplitude), nullptr);
  EXPECT_EQ(row, "0.000000e+000\r\n");
}

TEST(FeatureCsvTest, LeavesTheTextTableAsItWasAndIsTheSameOnEveryThreadCount) {
  TempDir dir;
  WriteOddFolder(dir);
  MakeDirectory(FeatureResultsFolder(dir.path()));
  testing::WriteBytes(FeatureResultsPath(dir.path()), "earlier table\r\n");
  RecordingHost host;
  ASSERT_EQ(Extract(dir, TableFormat::kCsv, host, 1), CalcStatus::kDone);
  const std::string one_thread = ReadBytes(FeatureResultsPath(dir.path(), TableFormat::kCsv));
  ASSERT_EQ(Extract(dir, TableFormat::kCsv, host, 3), CalcStatus::kDone);
  EXPECT_EQ(ReadBytes(FeatureResultsPath(dir.path(), TableFormat::kCsv)), one_thread);
  EXPECT_EQ(ReadBytes(FeatureResultsPath(dir.path())), "earlier table\r\n");
}

TEST(FeatureCsvTest, AFailedWriteIsShownAndNothingIsReportedWritten) {
  TempDir dir;
  WriteOddFolder(dir);
  // A folder where the table should go cannot be replaced by it.
  MakeDirectory(FeatureResultsFolder(dir.path()));
  MakeDirectory(FeatureResultsPath(dir.path(), TableFormat::kCsv));
  RecordingHost host;
  EXPECT_EQ(Extract(dir, TableFormat::kCsv, host), CalcStatus::kFailed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find(FeatureResultsPath(dir.path(), TableFormat::kCsv)),
            std::string::npos);
  EXPECT_TRUE(host.written.empty());
}

}  // namespace
}  // namespace plexo
