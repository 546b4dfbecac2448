// The three file viewers through a recording host: what they refuse, the label values and plot
// sizes of their charts, and the files the calculations write, viewed back without loss.
#include "viewers/file_viewers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/recording_host.h"
#include "plot/charts.h"
#include "plot/line_plots.h"
#include "signal/number_text.h"
#include "signal/waveform_file.h"
#include "spectral/average_fft.h"
#include "spectral/convolution.h"
#include "spectral/single_fft.h"
#include "support/temp_dir.h"
#include "timefreq/cwt.h"
#include "timefreq/tft_file.h"
#include "viewers/file_kind.h"

namespace plexo {
namespace {

using plexo::testing::ReadBytes;
using plexo::testing::TempDir;
using plexo::testing::WriteBytes;

bool SameImage(const cv::Mat& a, const cv::Mat& b) {
  return a.size() == b.size() && a.type() == b.type() && cv::norm(a, b, cv::NORM_INF) == 0;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (char ch : line) {
    if (ch == '\t')
      fields.emplace_back();
    else
      fields.back() += ch;
  }
  return fields;
}

const std::string kFftFile =
    "Channel:\t1\nTime of Record:\t0\nTimeresolution:\t1e-7\nFrequency:\tReal:\tImaginary:\n";
const std::string kTftFile =
    "Channel:\t1\nTime of Record:\t0\nTimeresolution:\t1e-7\nFrequency[Hz]/Time[s]\t1e-7\t\n";

struct RefusalCase {
  const char* name;
  ViewerKind kind;
  std::optional<std::string> answer;  // the picked file's name in the test folder
  std::string content;                // written there when the answer names a file
  std::string_view message;
};
void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class ViewerRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ViewerRefusalTest, SaysWhyAndShowsNothing) {
  const RefusalCase& c = GetParam();
  TempDir folder;
  RecordingHost host;
  if (c.answer) {
    WriteBytes(folder.File(*c.answer), c.content);
    host.file_answers.push_back(folder.File(*c.answer));
  } else {
    host.file_answers.push_back(std::nullopt);
  }
  ViewerWorkspace workspace;
  EXPECT_EQ(ViewFile(c.kind, workspace, host), CalcStatus::kRefused);
  EXPECT_EQ(host.messages, std::vector<std::string>{std::string(c.message)});
  EXPECT_TRUE(host.images.empty());
}

const std::string kWaveform =
    "SOURCE FILE NAME: -/-\nDATE:\t\nTIME:\t\nSAMPLE INTERVAL (Seconds):   1e-7\nUNITS:\tvolts\n"
    "CHANNEL NUMBER:\t1\nHIT NUMBER: -/-\nTIME OF TEST:\t0\n\n0\n1\n-1\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ViewerRefusalTest,
    ::testing::Values(
        RefusalCase{"Cancelled", ViewerKind::kWaveform, std::nullopt, "", kWrongFiletypeMessage},
        RefusalCase{"CapitalTxt", ViewerKind::kWaveform, "hit.TXT", kWaveform,
                    kWrongFiletypeMessage},
        RefusalCase{"CapitalTxtFft", ViewerKind::kFft, "hit_fft.TXT", kFftFile + "1\t1\t1\n",
                    kWrongFiletypeMessage},
        RefusalCase{"NoExtension", ViewerKind::kTft, "hit", kTftFile, kWrongFiletypeMessage},
        RefusalCase{"OtherExtension", ViewerKind::kTft, "hit.txt.bak", kTftFile,
                    kWrongFiletypeMessage},
        RefusalCase{"EmptyWaveform", ViewerKind::kWaveform, "e.txt", "", kNoDataMessage},
        RefusalCase{"HeaderOnlyWaveform", ViewerKind::kWaveform, "h.txt",
                    kWaveform.substr(0, kWaveform.size() - 7), kNoDataMessage},
        RefusalCase{"MalformedSampleInterval", ViewerKind::kWaveform, "m.txt",
                    "SAMPLE INTERVAL: 1e-7\n" + kWaveform, kNoDataMessage},
        RefusalCase{"FftWithoutDataLines", ViewerKind::kFft, "f.txt", kFftFile, kNoDataMessage},
        RefusalCase{"TftOfThreeLines", ViewerKind::kTft, "t.txt",
                    "Channel:\t1\nTime of Record:\t0\nTimeresolution:\t1e-7\n", kNoDataMessage},
        RefusalCase{"TftOfOneLine", ViewerKind::kTft, "t.txt", "Channel:\t1", kNoDataMessage}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST(FileViewers, AskWithTheirFiltersAndShowUnderTheirTitles) {
  TempDir folder;
  WriteBytes(folder.File("w.txt"), kWaveform);
  WriteBytes(folder.File("f.txt"), kFftFile + "1e4\t3\t4\n");
  WriteBytes(folder.File("t.txt"), kTftFile + "1e4\t1\t\n");
  RecordingHost host;
  for (const char* name : {"w.txt", "f.txt", "t.txt"}) host.file_answers.push_back(folder / name);
  ViewerWorkspace workspace;
  EXPECT_EQ(ViewWaveformFile(workspace, host), CalcStatus::kDone);
  EXPECT_EQ(ViewFftFile(workspace, host), CalcStatus::kDone);
  EXPECT_EQ(ViewTftFile(workspace, host), CalcStatus::kDone);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.file_filters,
            (std::vector<std::string>{"ASCII-waveform(*.txt)|*.txt||", "ASCII-fft(*.txt)|*.txt||",
                                      "ASCII-WT(*.txt)|*.txt||"}));
  ASSERT_EQ(host.images.size(), 3u);
  EXPECT_EQ(host.images[0].title, "Waveform File");
  EXPECT_EQ(host.images[0].image.size(), cv::Size(800, 200));
  EXPECT_EQ(host.images[1].title, "FFT File");
  EXPECT_EQ(host.images[1].image.size(), cv::Size(800, 300));
  EXPECT_EQ(host.images[2].title, "WT File");
  EXPECT_EQ(host.images[2].image.size(), cv::Size(800, 600));
}

// 800 samples draw one sample per display column; 1600 are reduced to 800 columns by the area
// resize. The labels print d*dt/40 and M/5 with the file's units.
TEST(FileViewers, WaveformChartOf800And1600Samples) {
  for (const int count : {800, 1600}) {
    SCOPED_TRACE(count);
    std::vector<double> samples(count);
    for (int i = 1; i < count; ++i) samples[i] = 0.8 * std::sin(0.05 * i) * std::exp(-0.002 * i);
    samples[count / 3] = -1.25;  // the largest magnitude, negative
    WaveformHeader header;
    header.sampleInterval = 2e-7;
    header.units = "  mV";
    TempDir folder;
    ASSERT_TRUE(WriteWaveform(folder / "w.txt", samples.data(), count, header));
    ViewerWorkspace workspace;
    const FileChart chart = DrawFileChart(ViewerKind::kWaveform, folder / "w.txt", workspace);
    EXPECT_EQ(chart.readResult, count);
    EXPECT_EQ(chart.plotSize, cv::Size(count, 200));
    EXPECT_EQ(chart.largest, 1.25);
    EXPECT_DOUBLE_EQ(chart.horizontal, count * 2e-7 / 40);
    EXPECT_EQ(chart.vertical, 1.25 / 5);

    // The same chart from the samples as printed ("%f"), labelled with the expected values.
    std::vector<double> printed(count);
    for (int i = 0; i < count; ++i) printed[i] = ParseDouble(FormatF(samples[i]));
    cv::Mat plot(200, count, CV_8UC3);
    PlotSignal(plot, printed.data(), count, header);
    EXPECT_TRUE(SameImage(chart.image, MakeSignalChart(plot, count * 2e-7, 1.25, "mV")));
  }
}

TEST(FileViewers, FftFileWithOneDataLineIsOnePixelWide) {
  TempDir folder;
  WriteBytes(folder / "f.txt", kFftFile + "2.5e+005\t3\t-4\n");
  ViewerWorkspace workspace;
  const FileChart chart = DrawFileChart(ViewerKind::kFft, folder / "f.txt", workspace);
  EXPECT_EQ(chart.readResult, 1);
  EXPECT_EQ(chart.plotSize, cv::Size(1, 300));
  EXPECT_EQ(chart.largest, 5.0);
  EXPECT_EQ(chart.horizontal, 2.5e5 / 40);
  EXPECT_EQ(chart.vertical, 5.0 / 15);
  cv::Mat white(300, 1, CV_8UC3, cv::Scalar(255, 255, 255));  // one point: no graph line
  EXPECT_TRUE(SameImage(chart.image, MakeSpectrumChart(white, 2.5e5, 5.0, "volts/DIV]")));
}

// C = 99 time columns and R = 100 lines: a 100 x 100 plot, time label 100*dt/40, frequency
// label 100*df/30.
TEST(FileViewers, TftChartOf99ColumnsAnd100Rows) {
  TftMatrix matrix;
  matrix.ZeroRegion(100, 99);
  for (int r = 0; r < 99; ++r)
    for (int c = 0; c < 99; ++c) matrix.Row(r)[c] = {0.5 + r * 0.01, c * 0.001};
  TempDir folder;
  ASSERT_TRUE(WriteTftModulus(folder / "t.txt", matrix, 100, 99, 1e4, 0.0, 2, 1.0, 1e-7));
  ViewerWorkspace workspace;
  const FileChart chart = DrawFileChart(ViewerKind::kTft, folder / "t.txt", workspace);
  EXPECT_EQ(chart.readResult, 100);
  EXPECT_EQ(chart.plotSize, cv::Size(100, 100));
  EXPECT_DOUBLE_EQ(chart.horizontal, 100 * 1e-7 / 40);
  EXPECT_DOUBLE_EQ(chart.vertical, 100 * 1e4 / 30);
  EXPECT_EQ(chart.largest, ParseDouble(FormatE(std::hypot(0.5 + 98 * 0.01, 98 * 0.001))));
  EXPECT_EQ(chart.image.size(), cv::Size(800, 600));
}

// With fewer than three matrix lines the frequency step comes from missing lines (0): the
// label may say 0 or a negative step, but the picture is drawn.
TEST(FileViewers, TftWithFewMatrixLinesIsStillDrawn) {
  TempDir folder;
  WriteBytes(folder / "one.txt", kTftFile + "1e4\t2\t\n");
  WriteBytes(folder / "two.txt", kTftFile + "1e4\t2\t\n2e4\t3\t\n");
  RecordingHost host;
  host.file_answers = {folder / "one.txt", folder / "two.txt"};
  ViewerWorkspace workspace;
  EXPECT_EQ(ViewTftFile(workspace, host), CalcStatus::kDone);
  EXPECT_EQ(workspace.tft.frequencyResolution, 0.0);
  EXPECT_EQ(ViewTftFile(workspace, host), CalcStatus::kDone);
  EXPECT_EQ(workspace.tft.frequencyResolution, -2e4);
  EXPECT_EQ(host.images.size(), 2u);
  EXPECT_TRUE(host.messages.empty());
}

// What the Single FFT, the Average FFT and the wavelet transform write is what the viewers show:
// every value of the file reaches the plot, and the labels follow the file.
class ViewedCalculationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(folder / "data");
    for (int f = 0; f < 2; ++f) {
      std::vector<double> samples(1000);
      for (int i = 100; i < 1000; ++i)
        samples[i] = (1.0 + f) * std::exp(-(i - 100) * 4e-3) * std::sin(0.19 * (i - 100) + f);
      WaveformHeader header;
      header.sampleInterval = 1e-7;
      header.units = "volts";
      ASSERT_TRUE(WriteWaveform(folder / ("data/" + std::to_string(f) + ".txt"), samples.data(),
                                1000, header));
    }
  }
  TempDir folder;
  RecordingHost host;
  ViewerWorkspace workspace;
};

TEST_F(ViewedCalculationsTest, SingleAndAverageFftFiles) {
  const std::string input = folder / "data/0.txt";
  // The folder is averaged before the Single FFT's table lands in it.
  NullProgress progress;
  auto average = std::make_unique<AverageFftWorkspace>();
  ASSERT_EQ(AverageFFT(*average, folder / "data", 0, progress, host), CalcStatus::kDone);
  auto single = std::make_unique<SingleFftWorkspace>();
  ASSERT_EQ(SingleFFT(*single, input, 0, host), CalcStatus::kDone);

  struct Viewed {
    std::string path;
    size_t firstDataLine;    // 0-based
    size_t amplitudeColumn;  // 0: the magnitude of columns 1 and 2
  };
  for (const Viewed& v :
       {Viewed{FftFilePath(input), 4, 0}, Viewed{AverageFftTablePath(folder / "data"), 2, 3}}) {
    SCOPED_TRACE(v.path);
    const std::vector<std::string> lines = Lines(ReadBytes(v.path));
    std::vector<double> amplitudes;
    for (size_t l = v.firstDataLine; l < lines.size(); ++l) {
      const std::vector<std::string> f = Fields(lines[l]);
      amplitudes.push_back(v.amplitudeColumn == 0 ? std::hypot(ParseDouble(f[1]), ParseDouble(f[2]))
                                                  : ParseDouble(f[v.amplitudeColumn]));
    }
    const FileChart chart = DrawFileChart(ViewerKind::kFft, v.path, workspace);
    ASSERT_EQ(chart.readResult, static_cast<int>(amplitudes.size()));
    EXPECT_EQ(std::vector<double>(workspace.fft.amplitudes.begin(),
                                  workspace.fft.amplitudes.begin() + chart.readResult),
              amplitudes);
    EXPECT_EQ(chart.largest, *std::max_element(amplitudes.begin(), amplitudes.end()));
    EXPECT_EQ(chart.horizontal, ParseDouble(lines.back()) / 40);
    EXPECT_EQ(DetectViewerKind(v.path), ViewerKind::kFft);
  }
}

TEST_F(ViewedCalculationsTest, WaveletModulusAndComplexFilesShowTheSameMap) {
  TftRequest request;
  request.path = folder / "data/1.txt";
  request.freqRes = 2.5e4;
  request.freqStart = 0;
  request.freqEnd = 1e6;
  request.timeRes = 1e-7;
  request.timeEnd = 6e-5;
  request.waveletLength = 200;
  NullProgress progress;
  auto cwt = std::make_unique<CwtWorkspace>();
  FileChart charts[2];
  for (const TftOutput type : {TftOutput::kModulus, TftOutput::kComplex}) {
    request.output = type;
    ASSERT_EQ(CalcSingleCwt(*cwt, request, progress, host), CalcStatus::kDone);
    const std::string path = CwtFilePath(request.path);
    EXPECT_EQ(DetectViewerKind(path), ViewerKind::kTft);
    FileChart& chart = charts[type == TftOutput::kComplex];
    chart = DrawFileChart(ViewerKind::kTft, path, workspace);
    EXPECT_EQ(chart.readResult, 41);  // the header row and 40 frequency rows
    EXPECT_EQ(chart.plotSize, cv::Size(601, 41));
    EXPECT_DOUBLE_EQ(chart.horizontal, 601 * 1e-7 / 40);
    EXPECT_DOUBLE_EQ(chart.vertical, 41 * 2.5e4 / 30);
  }
  // The complex cells' modulus differs from the printed modulus only in the last printed digit.
  EXPECT_NEAR(charts[1].largest, charts[0].largest, 1e-5 * charts[0].largest);
  EXPECT_LT(cv::norm(charts[0].image, charts[1].image, cv::NORM_INF), 8);
}

TEST_F(ViewedCalculationsTest, ConvolutionResult) {
  std::string transfer = "Transfer function\r\n";
  for (int i = 0; i < 1024; ++i) transfer += i % 3 ? "1.0\t0.5\r\n" : "0.5\t0\r\n";
  WriteBytes(folder / "t.tf", transfer);
  NullProgress progress;
  auto convolution = std::make_unique<ConvolutionWorkspace>();
  ASSERT_EQ(ApplyTransferFunction(*convolution, folder / "data", 10, folder / "t.tf",
                                  TransferOperation::kConvolution,
                                  ConvolutionOutput::kWaveformFiles, progress, host),
            CalcStatus::kDone);
  const std::string result = ProcessedFilePath(folder / "data", folder / "data/0.txt");
  const std::vector<std::string> lines = Lines(ReadBytes(result));
  ASSERT_EQ(lines.size(), 1009u);
  std::vector<double> samples;
  for (size_t l = 9; l < lines.size(); ++l) samples.push_back(ParseDouble(lines[l]));
  samples[0] = 0.0;  // the reader forces the sample two lines after "TIME OF TEST" to zero
  EXPECT_EQ(DetectViewerKind(result), ViewerKind::kWaveform);
  const FileChart chart = DrawFileChart(ViewerKind::kWaveform, result, workspace);
  ASSERT_EQ(chart.readResult, 1000);
  EXPECT_EQ(std::vector<double>(workspace.waveform.samples.begin(),
                                workspace.waveform.samples.begin() + 1000),
            samples);
  double largest = 0;
  for (double x : samples) largest = std::max(largest, std::abs(x));
  EXPECT_EQ(chart.largest, largest);
  EXPECT_DOUBLE_EQ(chart.horizontal, 1000 * 1e-7 / 40);
}

TEST(FileKind, TellsTheThreeKindsAndNothingElse) {
  TempDir folder;
  const std::pair<std::string, std::optional<ViewerKind>> files[] = {
      {kWaveform, ViewerKind::kWaveform},
      {kFftFile + "1\t2\t3\n", ViewerKind::kFft},
      {"Frequency:\tReal:\tImaginary:\tMagnitude:\tStandard Deviation:\n", ViewerKind::kFft},
      {kTftFile, ViewerKind::kTft},
      {"", std::nullopt},
      {"1\n2\n3\n", std::nullopt},
      {"Channel:\t1\n", std::nullopt},
      {std::string(200000, 'x'), std::nullopt}};
  for (const auto& [content, kind] : files) {
    WriteBytes(folder / "f.txt", content);
    EXPECT_EQ(DetectViewerKind(folder / "f.txt"), kind) << content.substr(0, 40);
  }
  EXPECT_EQ(DetectViewerKind(folder / "missing.txt"), std::nullopt);
}

}  // namespace
}  // namespace plexo
