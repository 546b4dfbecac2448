// The Average FFT table as comma-separated text: read back by a plain reader, its header names
// the .txt table's columns and every cell is the .txt table's cell.
#include "spectral/average_fft_csv.h"

#include <gtest/gtest.h>

#include "platform/recording_host.h"
#include "platform/text_file.h"
#include "signal/waveform_file.h"
#include "spectral/average_fft.h"
#include "support/csv_reader.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::ReadBytes;
using testing::TempDir;

void WriteNoise(const std::string& path, int count, unsigned seed) {
  std::vector<double> x(static_cast<size_t>(count));
  for (double& v : x) {
    seed = seed * 1103515245u + 12345u;
    v = static_cast<int>((seed >> 8) % 2001) / 1000.0 - 1.0;
  }
  WaveformHeader header;
  header.sampleInterval = 1e-7;
  header.channel = 1;
  ASSERT_TRUE(WriteWaveformSci(path, x.data(), count, header));
}

CalcStatus Average(const TempDir& dir, TableFormat format, RecordingHost& host) {
  AverageFftWorkspace ws;
  ws.tableFormat = format;
  NullProgress progress;
  return AverageFFT(ws, dir.path(), 0, progress, host, 2);
}

TEST(AverageFftCsvTest, HeaderNamesTheColumnsAndEveryCellIsTheTextTablesCell) {
  TempDir dir;
  WriteNoise(dir / "a.txt", 1000, 1);
  WriteNoise(dir / "b.txt", 1000, 2);
  WriteNoise(dir / "c.txt", 1000, 3);
  RecordingHost text_host;
  ASSERT_EQ(Average(dir, TableFormat::kText, text_host), CalcStatus::kDone);
  RecordingHost csv_host;
  ASSERT_EQ(Average(dir, TableFormat::kCsv, csv_host), CalcStatus::kDone);

  const std::string bytes = ReadBytes(AverageFftTablePath(dir.path(), TableFormat::kCsv));
  EXPECT_EQ(
      bytes.rfind("Frequency [Hz],Real,Imaginary,Magnitude,Standard Deviation,Minimum Magnitude,"
                  "Maximum Magnitude\r\n",
                  0),
      0u);
  const testing::CsvText csv = testing::ReadCsv(bytes);
  ASSERT_TRUE(csv.fault.empty()) << csv.fault;
  const auto text = testing::ReadTabTable(ReadBytes(AverageFftTablePath(dir.path())), false);
  ASSERT_EQ(text.size(), 1u + 512u);  // title line and bins 0 .. 511
  ASSERT_EQ(csv.rows.size(), text.size());
  for (size_t r = 1; r < text.size(); ++r) {
    ASSERT_EQ(csv.rows[r].size(), 7u) << "row " << r;
    EXPECT_EQ(csv.rows[r], text[r]) << "row " << r;
  }
  EXPECT_EQ(csv_host.written,
            (std::vector<std::string>{AverageFftPreviewPath(dir.path()),
                                      AverageFftTablePath(dir.path(), TableFormat::kCsv)}));
}

TEST(AverageFftCsvTest, RowsAreThePrintfTextCommaSeparatedAndAnEmptyTableIsTheHeaderAlone) {
  TempDir dir;
  AverageSpectrum spectrum;
  spectrum.Allocate();
  spectrum.frequency[0] = 0.0;
  spectrum.frequency[1] = 9765.625;
  spectrum.maximum[1] = -1.5;
  {
    TextFileWriter out(dir / "t.csv", false);
    WriteAverageFFTCsv(out, spectrum, 2);
    ASSERT_TRUE(out.Commit());
  }
  const std::string zeros =
      ",0.000000e+000,0.000000e+000,0.000000e+000,0.000000e+000,"
      "0.000000e+000";
  EXPECT_EQ(ReadBytes(dir / "t.csv"),
            "Frequency [Hz],Real,Imaginary,Magnitude,Standard Deviation,Minimum Magnitude,"
            "Maximum Magnitude\r\n0.000000e+000" +
                zeros + ",0.000000e+000\r\n9.765625e+003" + zeros + ",-1.500000e+000\r\n");
  {
    TextFileWriter out(dir / "empty.csv", false);
    WriteAverageFFTCsv(out, spectrum, 0);
    ASSERT_TRUE(out.Commit());
  }
  EXPECT_EQ(testing::ReadCsv(ReadBytes(dir / "empty.csv")).rows.size(), 1u);
}

}  // namespace
}  // namespace plexo
