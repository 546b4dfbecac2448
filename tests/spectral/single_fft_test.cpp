#include "spectral/single_fft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/recording_host.h"
#include "signal/number_text.h"
#include "signal/waveform_file.h"
#include "spectral/fft_file.h"
#include "support/chart_label.h"
#include "support/read_bmp.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::ShowsLabel;
using testing::TempDir;

// Writes a waveform of `count` samples (sample k = f(k)) in the program's own layout.
void WriteSignal(const std::string& path, int count, double dt, double (*f)(int)) {
  std::vector<double> x(count);
  for (int k = 0; k < count; ++k) x[k] = f(k);
  WaveformHeader header;
  header.channel = 4;
  header.timeOfTest = 1.25;
  header.sampleInterval = dt;
  header.units = "volts";
  ASSERT_TRUE(WriteWaveform(path, x.data(), count, header));
}

double Burst(int k) { return std::sin(0.2 * k) * std::exp(-k / 300.0); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

struct FftRun {
  RecordingHost host;
  std::unique_ptr<SingleFftWorkspace> workspace = std::make_unique<SingleFftWorkspace>();
  CalcStatus Go(const std::string& path) { return SingleFFT(*workspace, path, 1, host); }
};

TEST(SingleFft, ThousandSamplesGiveTheSpecifiedGridFileAndPreview) {
  TempDir dir;
  const std::string input = dir.File("hit.txt");
  WriteSignal(input, 1000, 1e-7, Burst);
  FftRun run;
  ASSERT_EQ(run.Go(input), CalcStatus::kDone);
  ASSERT_TRUE(run.host.messages.empty());

  const std::vector<std::string> lines = Lines(ReadBytes(dir.File("hit_fft.txt")));
  ASSERT_EQ(lines.size(), 4u + 512u);
  EXPECT_EQ(lines[0], "Channel:\t4");
  EXPECT_EQ(lines[1], "Time of Record:\t1.250000e+000");
  EXPECT_EQ(lines[2], "Timeresolution:\t1.000000e-007");
  EXPECT_EQ(lines[3], "Frequency:\tReal:\tImaginary:");
  EXPECT_EQ(lines[4].substr(0, 14), "0.000000e+000\t");
  EXPECT_EQ(lines[5].substr(0, 14), "9.765625e+003\t");
  EXPECT_EQ(lines.back().substr(0, 14), "4.990234e+006\t");  // 511 * df

  ASSERT_EQ(run.host.images.size(), 1u);
  EXPECT_EQ(run.host.images[0].title, "FFT-File");
  const cv::Mat& shown = run.host.images[0].image;
  EXPECT_EQ(shown.cols, 800);
  EXPECT_EQ(shown.rows, 300);
  cv::Mat saved = testing::ReadBmp24(dir.File("hit_fft_preview.bmp"));
  ASSERT_FALSE(saved.empty());
  EXPECT_EQ(cv::norm(saved, shown, cv::NORM_INF), 0.0);
}

TEST(SingleFft, SpectrumIsTheUnscaledTransformAndReadsBack) {
  TempDir dir;
  const std::string input = dir.File("x.txt");
  WriteSignal(input, 64, 2e-7, [](int k) { return k == 0 ? 0.0 : 1.0 + 0.5 * std::cos(0.7 * k); });
  FftRun run;
  ASSERT_EQ(run.Go(input), CalcStatus::kDone);

  Waveform wf;
  ASSERT_EQ(ReadWaveform(input, wf), 64);
  double sum = 0;
  for (int k = 0; k < 64; ++k) sum += wf.samples[k].re;

  FftFileContent content;
  ASSERT_EQ(ReadFFTFile(dir.File("x_fft.txt"), content), 32);
  EXPECT_EQ(content.kind, kSingleFftFile);
  EXPECT_EQ(content.channel, 4);
  EXPECT_DOUBLE_EQ(content.timeOfRecord, 1.25);
  EXPECT_DOUBLE_EQ(content.timeResolution, 2e-7);
  EXPECT_EQ(content.frequencies[0], 0.0);
  EXPECT_NEAR(content.amplitudes[0], sum, 1e-5);  // bin 0: the sum of the samples
  // Every amplitude is the magnitude of the written bin.
  const std::vector<std::string> lines = Lines(ReadBytes(dir.File("x_fft.txt")));
  for (int k = 0; k < 32; ++k) {
    const std::string& line = lines[4 + k];
    const size_t t1 = line.find('\t'), t2 = line.rfind('\t');
    const double re = std::stod(line.substr(t1 + 1)), im = std::stod(line.substr(t2 + 1));
    EXPECT_DOUBLE_EQ(content.amplitudes[k], std::hypot(re, im));
  }
}

TEST(SingleFft, PaddingAndNamingRules) {
  TempDir dir;
  FftRun run;
  WriteSignal(dir.File("a.txt"), 1024, 1e-7, Burst);
  WriteSignal(dir.File("b.txt"), 1025, 1e-7, Burst);
  WriteSignal(dir.File("hit.TXT"), 100, 1e-7, Burst);
  ASSERT_EQ(run.Go(dir.File("a.txt")), CalcStatus::kDone);
  ASSERT_EQ(run.Go(dir.File("b.txt")), CalcStatus::kDone);
  ASSERT_EQ(run.Go(dir.File("hit.TXT")), CalcStatus::kDone);
  EXPECT_EQ(Lines(ReadBytes(dir.File("a_fft.txt"))).size(), 4u + 512u);
  EXPECT_EQ(Lines(ReadBytes(dir.File("b_fft.txt"))).size(), 4u + 1024u);
  EXPECT_TRUE(Exists(dir.File("hit_fft.txt")));
  EXPECT_TRUE(Exists(dir.File("hit_fft_preview.bmp")));
}

TEST(SingleFft, PreviewLabelsNameTheLastBinAndTheLargestMagnitude) {
  // 100 samples at 1e-7 s: N = 128, df = 78125 Hz; the last plotted bin is 63 df, /40 =
  // 1.23e+005 (the Nyquist bin would give 1.25e+005).
  TempDir dir;
  WriteSignal(dir.File("l.txt"), 100, 1e-7, Burst);
  FftRun run;
  ASSERT_EQ(run.Go(dir.File("l.txt")), CalcStatus::kDone);
  const cv::Mat& shown = run.host.images[0].image;
  // The largest magnitude of bins 0 .. 63 by the plain DFT of the padded samples.
  double largest = 0.0;
  for (int k = 0; k < 64; ++k) {
    double re = 0.0, im = 0.0;
    for (int n = 0; n < 100; ++n) {
      re += Burst(n) * std::cos(2.0 * M_PI * k * n / 128.0);
      im -= Burst(n) * std::sin(2.0 * M_PI * k * n / 128.0);
    }
    largest = std::max(largest, std::hypot(re, im));
  }
  const cv::Scalar grey(100, 100, 100);
  EXPECT_TRUE(ShowsLabel(shown, "frequency[1.23e+005Hz/DIV]", {610, 288}, grey));
  EXPECT_TRUE(
      ShowsLabel(shown, "FFT-amplitude[" + FormatE(largest / 15, 2) + "V/DIV]", {8, 20}, grey));
  // The axes: grey horizontal line on row 298 and vertical line on column 2.
  EXPECT_EQ(shown.at<cv::Vec3b>(298, 400), cv::Vec3b(100, 100, 100));
  EXPECT_EQ(shown.at<cv::Vec3b>(150, 2), cv::Vec3b(100, 100, 100));
  EXPECT_EQ(shown.at<cv::Vec3b>(296, 20), cv::Vec3b(100, 100, 100));  // a tick
  EXPECT_EQ(FftFilePath("/d/x.y/hit.TXT"), "/d/x.y/hit_fft.txt");
  EXPECT_EQ(FftPreviewPath("/d/x.y/hit.TXT"), "/d/x.y/hit_fft_preview.bmp");
}

struct Refusal {
  const char* name;
  std::string file_name;
  std::string content;  // empty: do not create the file
  const char* message;
};

class SingleFftRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(SingleFftRefusals, ShowTheMessageAndWriteNothing) {
  TempDir dir;
  const Refusal& r = GetParam();
  const std::string path = dir.File(r.file_name);
  if (!r.content.empty()) testing::WriteBytes(path, r.content);
  FftRun run;
  EXPECT_EQ(run.Go(path), CalcStatus::kRefused);
  ASSERT_EQ(run.host.messages.size(), 1u);
  EXPECT_EQ(run.host.messages[0], r.message);
  EXPECT_TRUE(run.host.images.empty());
  EXPECT_FALSE(Exists(FftFilePath(path)));
  EXPECT_FALSE(Exists(FftPreviewPath(path)));
}

std::string ManyLines(int n) {
  std::string text = "SAMPLE INTERVAL (Seconds):   1e-7\r\n";
  for (int i = 1; i < n; ++i) text += "0.5\r\n";
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SingleFftRefusals,
    ::testing::Values(Refusal{"wrong_extension", "hit.dat", "x\n",
                              "Filetype has the wrong format! Provide a valid file!"},
                      Refusal{"no_extension", "hit", "x\n",
                              "Filetype has the wrong format! Provide a valid file!"},
                      Refusal{"missing", "missing.txt", "",
                              "No data present in file or error during loading!"},
                      Refusal{"nine_lines", "nine.txt", ManyLines(9),
                              "No data present in file or error during loading!"},
                      Refusal{"eight_lines", "eight.txt", ManyLines(8),
                              "No data present in file or error during loading!"},
                      Refusal{"three_lines", "three.txt", ManyLines(3),
                              "No data present in file or error during loading!"},
                      Refusal{"bad_interval", "bad.txt", "SAMPLE INTERVAL: 1e-7\n" + ManyLines(20),
                              "No data present in file or error during loading!"},
                      Refusal{"too_long", "long.txt", ManyLines(9 + 16385),
                              "Sampling size of 16385 exceeds program limit of 16384! "
                              "(--max-samples N raises the limit, up to 1048576)"}),
    [](const auto& info) { return std::string(info.param.name); });

// Without a usable sample interval the frequencies would be inf or NaN: the file is refused by
// name, also after a file with an interval in the same workspace.
class SingleFftSampleInterval : public ::testing::TestWithParam<const char*> {};

TEST_P(SingleFftSampleInterval, RefusesTheFileByName) {
  TempDir dir;
  const std::string good = dir.File("good.txt");
  WriteSignal(good, 100, 1e-7, Burst);
  std::string text = ReadBytes(good);
  const size_t line = text.find("SAMPLE INTERVAL");
  const std::string interval = GetParam();
  text.replace(line, text.find("\r\n", line) + 2 - line,
               interval.empty() ? "" : "SAMPLE INTERVAL (Seconds):   " + interval + "\r\n");
  const std::string bad = dir.File("bad.txt");
  testing::WriteBytes(bad, text);

  FftRun run;
  ASSERT_EQ(run.Go(good), CalcStatus::kDone);
  EXPECT_EQ(run.Go(bad), CalcStatus::kRefused);
  ASSERT_EQ(run.host.messages.size(), 1u);
  const double dt = interval.empty() ? 0.0 : ParseDouble(interval);
  if (std::isinf(dt)) {
    // The reader itself refuses a value that is not finite, naming the line.
    EXPECT_EQ(run.host.messages[0], "Header value \"SAMPLE INTERVAL (Seconds):   " + interval +
                                        "\" on line 4 of " + bad +
                                        " is not a finite number! The file is not read.");
  } else {
    EXPECT_EQ(run.host.messages[0], "Sample interval of " + FormatE(dt) + " s in " + bad +
                                        " is not allowed! The file needs a \"SAMPLE INTERVAL "
                                        "(Seconds):\" line with a value > 0!");
  }
  EXPECT_EQ(run.host.images.size(), 1u);  // the good file's only
  EXPECT_FALSE(Exists(FftFilePath(bad)));
  EXPECT_FALSE(Exists(FftPreviewPath(bad)));
}

INSTANTIATE_TEST_SUITE_P(Values, SingleFftSampleInterval,
                         ::testing::Values("", "0", "-1e-7", "inf", "-inf"));

TEST(SingleFft, HeaderlessRecordingsAreRefused) {
  const std::string folder = std::string(PLEXO_REALDATA_DIR) + "/liu-aewin-headerless";
  if (!Exists(folder)) GTEST_SKIP() << "real recordings not present";
  TempDir dir;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string input = dir.File(entry.path().filename().string());
    std::filesystem::copy_file(entry.path(), input);  // the outputs would go beside the input
    FftRun run;
    EXPECT_EQ(run.Go(input), CalcStatus::kRefused) << input;
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_NE(run.host.messages[0].find(input), std::string::npos) << run.host.messages[0];
    EXPECT_FALSE(Exists(FftFilePath(input)));
  }
}

TEST(SingleFft, OneSampleWritesAnEmptyTableAndAWhitePreview) {
  TempDir dir;
  WriteSignal(dir.File("one.txt"), 1, 1e-7, [](int) { return 1.0; });
  FftRun run;
  ASSERT_EQ(run.Go(dir.File("one.txt")), CalcStatus::kDone);
  EXPECT_EQ(Lines(ReadBytes(dir.File("one_fft.txt"))).size(), 4u);
  ASSERT_EQ(run.host.images.size(), 1u);
  EXPECT_EQ(run.host.images[0].image.at<cv::Vec3b>(100, 400), cv::Vec3b(255, 255, 255));
}

TEST(SingleFft, AllZeroSignalDrawsAnEmptyChart) {
  TempDir dir;
  WriteSignal(dir.File("z.txt"), 256, 1e-7, [](int) { return 0.0; });
  FftRun run;
  ASSERT_EQ(run.Go(dir.File("z.txt")), CalcStatus::kDone);
  EXPECT_EQ(run.host.images[0].image.at<cv::Vec3b>(150, 400), cv::Vec3b(255, 255, 255));
}

TEST(SingleFft, PreviewBitmapIsReproducible) {
  TempDir dir;
  WriteSignal(dir.File("r.txt"), 3000, 1e-7, Burst);
  FftRun run;
  ASSERT_EQ(run.Go(dir.File("r.txt")), CalcStatus::kDone);
  const std::string first = ReadBytes(dir.File("r_fft_preview.bmp"));
  ASSERT_EQ(run.Go(dir.File("r.txt")), CalcStatus::kDone);
  EXPECT_EQ(ReadBytes(dir.File("r_fft_preview.bmp")), first);
  EXPECT_EQ(first.substr(0, 2), "BM");
}

TEST(FftFile, AverageFilesAreReadFromTheFourthColumnFromBinOneOn) {
  TempDir dir;
  const std::string path = dir.File("average_FFT.txt");
  testing::WriteBytes(path,
                      "Frequency:\tReal:\tImaginary:\tMagnitude:\tStandard Deviation:\tMinimum "
                      "Magnitude:\tMaximum Magnitude:\r\n"
                      "0.0\t1\t2\t3\t4\t5\t6\r\n"
                      "10.0\t1\t2\t7.5\t4\t5\t6\r\n"
                      "20.0\t1\t2\t8.5\t4\t5\t6\r\n");
  FftFileContent content;
  ASSERT_EQ(ReadFFTFile(path, content), 2);
  EXPECT_EQ(content.kind, kAverageFftFile);
  EXPECT_EQ(content.channel, -1);
  EXPECT_EQ(content.frequencies[0], 10.0);
  EXPECT_EQ(content.amplitudes[0], 7.5);
  EXPECT_EQ(content.amplitudes[1], 8.5);
  EXPECT_EQ(ReadFFTFile(dir.File("missing.txt"), content), -1);
}

}  // namespace
}  // namespace plexo
