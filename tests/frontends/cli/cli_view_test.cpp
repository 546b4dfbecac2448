// plexo view as a script would use it: the chart saved without a display, the kind told from
// the file, and clear refusals of what it cannot draw.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plot/image_file.h"
#include "signal/waveform_file.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"
#include "timefreq/tft_file.h"
#include "viewers/file_charts.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::RunPlexo;
using testing::TempDir;
using testing::WriteBytes;

// Width and height from a PNG file's header chunk.
cv::Size PngSize(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {};
  const auto word = [&](size_t at) {
    return static_cast<int>((static_cast<unsigned char>(bytes[at]) << 24) |
                            (static_cast<unsigned char>(bytes[at + 1]) << 16) |
                            (static_cast<unsigned char>(bytes[at + 2]) << 8) |
                            static_cast<unsigned char>(bytes[at + 3]));
  };
  return {word(16), word(20)};
}

void WriteExampleFiles(const TempDir& dir) {
  std::vector<double> samples(500);
  for (int i = 1; i < 500; ++i) samples[i] = (i % 37) * 0.01 - 0.2;
  WaveformHeader header;
  header.sampleInterval = 1e-7;
  header.units = "volts";
  ASSERT_TRUE(WriteWaveform(dir / "hit.TXT", samples.data(), 500, header));
  TftMatrix matrix;
  matrix.ZeroRegion(10, 20);
  for (int r = 0; r < 9; ++r)
    for (int c = 0; c < 20; ++c) matrix.Row(r)[c] = {r * 1.0 + c, -c * 0.5};
  ASSERT_TRUE(WriteTftComplex(dir / "hit_wt.dat", matrix, 10, 20, 1e5, 0.0, 1, 0.0, 1e-7));
}

TEST(CliView, SavesTheViewersChartAsPngOrBmpForAnyFileName) {
  TempDir dir;
  WriteExampleFiles(dir);
  auto r = RunPlexo("view " + (dir / "hit.TXT") + " --out " + (dir / "w.png"));
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("waveform file, 500 samples"), std::string::npos) << r.output;
  EXPECT_EQ(PngSize(ReadBytes(dir / "w.png")), cv::Size(800, 200));

  r = RunPlexo("view " + (dir / "hit_wt.dat") + " --out " + (dir / "t.BMP"));
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("TFT file, 10 rows x 21 columns"), std::string::npos) << r.output;
  ViewerWorkspace workspace;
  const FileChart chart = DrawFileChart(ViewerKind::kTft, dir / "hit_wt.dat", workspace);
  ASSERT_TRUE(SaveBmp(dir / "expected.bmp", chart.image));
  EXPECT_EQ(ReadBytes(dir / "t.BMP"), ReadBytes(dir / "expected.bmp"));
}

// An empty --out wrote nothing and said nothing; an --out that is the input replaced it.
TEST(CliView, RefusesAnEmptyOutOrOneThatIsTheInput) {
  TempDir dir;
  WriteExampleFiles(dir);
  auto r = RunPlexo("view " + (dir / "hit.TXT") + " --out ''");
  EXPECT_NE(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("--out: give the name of the image"), std::string::npos) << r.output;

  const std::string before = ReadBytes(dir / "hit.TXT");
  WriteBytes(dir / "w.png", before);
  r = RunPlexo("view " + (dir / "w.png") + " --kind waveform --out " + (dir / "w.png"));
  EXPECT_NE(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("is the file to draw"), std::string::npos) << r.output;
  EXPECT_EQ(ReadBytes(dir / "w.png"), before);
  r = RunPlexo("view " + (dir / "w.png") + " --kind waveform --out " + dir.path() + "/./w.png");
  EXPECT_NE(r.status, 0) << r.output;
  EXPECT_EQ(ReadBytes(dir / "w.png"), before);
}

// The CSV export's time column must not be drawn as a waveform.
TEST(CliView, ACsvExportIsRefusedWithTheImportHint) {
  TempDir dir;
  std::string csv =
      "SOURCE FILE NAME: x\r\nDATE: d\r\nTIME: t\r\nSAMPLE INTERVAL (Seconds):   0.0000010000\r\n"
      "SIGNAL UNITS: volts\r\nTIME UNITS: Seconds\r\nDATA TYPE: WAVEFORM\r\n"
      "NUMBER OF DATA POINTS PER WAVEFORM: 3\r\nCHANNEL NUMBER: 1\r\nHIT NUMBER: 1\r\n"
      "TIME OF TEST: 1.5\r\n\r\n-0.000256, -0.0027\r\n-0.000255, -0.0021\r\n"
      "-0.000254, -0.0015\r\n";
  WriteBytes(dir / "e.csv", csv);
  auto r = RunPlexo("view " + (dir / "e.csv") + " --kind waveform --out " + (dir / "e.png"));
  EXPECT_NE(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("is a CSV export"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("plexo import"), std::string::npos) << r.output;
  EXPECT_FALSE(Exists(dir / "e.png"));
}

TEST(CliView, KindFromTheOptionWhenTheFileDoesNotTellIt) {
  TempDir dir;
  WriteBytes(dir / "spectrum.txt",
             "Kanal:\t1\nZeit:\t0\nAufloesung:\t1e-7\nFrequenz\n"
             "0\t1\t0\n1e4\t3\t4\n");
  auto r = RunPlexo("view " + (dir / "spectrum.txt") + " --out " + (dir / "s.png"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("is not a waveform, FFT or TFT file; give --kind"), std::string::npos)
      << r.output;
  EXPECT_FALSE(Exists(dir / "s.png"));

  r = RunPlexo("view " + (dir / "spectrum.txt") + " --kind fft --out " + (dir / "s.png"));
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("FFT file, 2 points"), std::string::npos) << r.output;
  EXPECT_EQ(PngSize(ReadBytes(dir / "s.png")), cv::Size(800, 300));
}

TEST(CliView, RefusesWhatItCannotDrawWithAClearMessage) {
  TempDir dir;
  WriteExampleFiles(dir);
  WriteBytes(dir / "tft_header_only.txt", "Channel:\t1\nTime of Record:\t0\nTimeresolution:\t1\n");
  struct Refusal {
    std::string arguments, message;
  } refusals[] = {
      {"view " + (dir / "missing.txt"), ": No such file or directory"},
      {"view " + dir.path(), " is a folder, not a file"},
      {"view " + (dir / "hit.TXT") + " --out " + (dir / "w.jpg"), "must end in .png or .bmp"},
      {"view " + (dir / "hit.TXT") + " --kind picture", "--kind"},
      {"view " + (dir / "tft_header_only.txt") + " --kind tft",
       "No data present in file or error during loading!"},
      {"view " + (dir / "hit.TXT") + " --out " + (dir / "no/such/folder/w.png"),
       "File " + (dir / "no/such/folder/w.png") +
           " could not be written: No such file or directory!"},
  };
  for (const Refusal& refusal : refusals) {
    const auto r = RunPlexo(refusal.arguments);
    EXPECT_NE(r.status, 0) << refusal.arguments;
    EXPECT_NE(r.output.find(refusal.message), std::string::npos) << r.output;
  }
  EXPECT_FALSE(Exists(dir / "w.jpg"));
}

}  // namespace
}  // namespace plexo
