#include "spectral/convolution.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/recording_host.h"
#include "signal/number_text.h"
#include "signal/waveform_file.h"
#include "spectral/transfer_function.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

namespace fs = std::filesystem;

using TempFolder = testing::TempDir;

WaveformHeader Header() {
  WaveformHeader h;
  h.channel = 7;
  h.timeOfTest = 12.5;
  h.sampleInterval = 2e-7;
  h.units = "volts";
  h.date = "01/02/2003";
  h.time = "04:05:06";
  return h;
}

void WriteSamples(const std::string& path, const std::vector<double>& x) {
  ASSERT_TRUE(WriteWaveformSci(path, x.data(), static_cast<int>(x.size()), Header()));
}

// Three decimals, so "%f" output shows them exactly. Index 0 is 0: the reader forces it.
std::vector<double> Noise(int count, unsigned seed) {
  std::vector<double> x(count);
  for (double& v : x) {
    seed = seed * 1103515245u + 12345u;
    v = static_cast<int>((seed >> 8) % 2001) / 1000.0 - 1.0;
  }
  x[0] = 0.0;
  return x;
}

// A transfer-function file of `bins` lines of "re<TAB>im", bin i given by value(i).
template <typename Value>
void WriteTransfer(const std::string& path, int bins, Value value) {
  std::string text = "Transfer function\r\n";
  for (int i = 0; i < bins; ++i) {
    const Complex t = value(i);
    text += FormatE(t.re) + "\t" + FormatE(t.im) + "\r\n";
  }
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    EXPECT_TRUE(!line.empty() && line.back() == '\r') << "line without CR LF";
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The sample lines of a written waveform file, as text (the reader would force sample 0 to 0).
std::vector<std::string> SampleLines(const std::string& path) {
  std::vector<std::string> lines = Lines(path);
  if (lines.size() < 9) return {};
  return std::vector<std::string>(lines.begin() + 9, lines.end());
}

struct Outcome {
  CalcStatus status;
  RecordingHost host;
};

Outcome Apply(ConvolutionWorkspace& ws, const std::string& folder, int p,
              const std::string& transfer, TransferOperation op,
              ConvolutionOutput output = ConvolutionOutput::kWaveformFiles) {
  Outcome outcome;
  NullProgress progress;
  outcome.status =
      ApplyTransferFunction(ws, folder, p, transfer, op, output, progress, outcome.host);
  return outcome;
}

class FlatTransfer : public ::testing::TestWithParam<TransferOperation> {};

// A response of 1 in every bin gives the waveform back, padded inputs with their own length
// and every input with its header values, under the input's name in procData.
TEST_P(FlatTransfer, ReproducesEveryWaveform) {
  TempFolder dir;
  const auto full = Noise(1024, 1), short_one = Noise(1000, 2);
  WriteSamples(dir / "full.txt", full);
  WriteSamples(dir / "short.TXT", short_one);
  WriteTransfer(dir / "flat.tf", 1024, [](int) { return Complex{1.0, 0.0}; });
  ConvolutionWorkspace ws;
  Outcome run = Apply(ws, dir.path(), 10, dir / "flat.tf", GetParam());
  ASSERT_EQ(run.status, CalcStatus::kDone);
  EXPECT_TRUE(run.host.messages.empty());
  EXPECT_EQ(ws.written, 2);

  for (const auto& [name, input] :
       {std::pair{"full.txt", full}, std::pair{"short.TXT", short_one}}) {
    const std::string out = ProcessedFilePath(dir.path(), name);
    ASSERT_EQ(out, dir / ("procData/" + std::string(name)));
    RealWaveform wf;
    ASSERT_EQ(ReadWaveformReal(out, wf), static_cast<int>(input.size())) << name;
    const WaveformHeader h = Header();
    EXPECT_EQ(wf.channel, h.channel);
    EXPECT_EQ(wf.timeOfTest, h.timeOfTest);
    EXPECT_EQ(wf.sampleInterval, h.sampleInterval);
    const auto samples = SampleLines(out);
    ASSERT_EQ(samples.size(), input.size());
    for (size_t j = 0; j < input.size(); ++j)
      ASSERT_NEAR(ParseDouble(samples[j]), input[j], 1e-6) << name << " sample " << j;
  }
}

INSTANTIATE_TEST_SUITE_P(BothOperations, FlatTransfer,
                         ::testing::Values(TransferOperation::kConvolution,
                                           TransferOperation::kDeconvolution));

// The plain computation of one output: the unscaled DFT of the samples zero-padded to n points,
// each bin multiplied by or divided by its transfer value in the textbook way, the inverse DFT,
// the real parts divided by n.
std::vector<double> PlainOutput(const std::vector<double>& x, const std::vector<Complex>& t,
                                TransferOperation op) {
  const int n = static_cast<int>(t.size());
  std::vector<Complex> y(n);
  for (int k = 0; k < n; ++k) {
    double re = 0.0, im = 0.0;
    for (int j = 0; j < static_cast<int>(x.size()); ++j) {
      re += x[j] * std::cos(2.0 * M_PI * k * j / n);
      im -= x[j] * std::sin(2.0 * M_PI * k * j / n);
    }
    const double c = t[k].re, d = t[k].im;
    if (op == TransferOperation::kConvolution) {
      y[k] = {re * c - im * d, re * d + im * c};
    } else {
      const double m = c * c + d * d;
      y[k] = {(re * c + im * d) / m, (im * c - re * d) / m};
    }
  }
  std::vector<double> out(x.size());
  for (size_t j = 0; j < x.size(); ++j) {
    double re = 0.0;
    for (int k = 0; k < n; ++k)
      re += y[k].re * std::cos(2.0 * M_PI * k * j / n) - y[k].im * std::sin(2.0 * M_PI * k * j / n);
    out[j] = re / n;
  }
  return out;
}

class ComplexTransfer : public ::testing::TestWithParam<TransferOperation> {};

// A transfer function with imaginary parts in every bin, and a shorter waveform after a full
// one: its padding must hold zeros, not the previous result.
TEST_P(ComplexTransfer, MatchesThePlainComputationForEveryFile) {
  TempFolder dir;
  const std::vector<double> full = Noise(64, 11), shorter = Noise(40, 12);
  WriteSamples(dir / "a.txt", full);
  WriteSamples(dir / "b.txt", shorter);
  std::vector<Complex> t(64);
  for (int i = 0; i < 64; ++i) t[i] = {1.0 + 0.5 * std::cos(i), 0.3 * std::sin(0.7 * i) + 0.2};
  WriteTransfer(dir / "t.tf", 64, [&t](int i) { return t[i]; });
  // The file keeps seven digits of each value: compute with what it holds.
  for (Complex& v : t) v = {ParseDouble(FormatE(v.re)), ParseDouble(FormatE(v.im))};

  ConvolutionWorkspace ws;
  ASSERT_EQ(Apply(ws, dir.path(), 6, dir / "t.tf", GetParam()).status, CalcStatus::kDone);
  for (const auto& [name, input] : {std::pair{"a.txt", full}, std::pair{"b.txt", shorter}}) {
    const std::vector<double> expected = PlainOutput(input, t, GetParam());
    const auto samples = SampleLines(ProcessedFilePath(dir.path(), name));
    ASSERT_EQ(samples.size(), input.size()) << name;
    for (size_t j = 0; j < input.size(); ++j)
      ASSERT_NEAR(ParseDouble(samples[j]), expected[j], 2e-6) << name << " sample " << j;
  }
}

INSTANTIATE_TEST_SUITE_P(BothOperations, ComplexTransfer,
                         ::testing::Values(TransferOperation::kConvolution,
                                           TransferOperation::kDeconvolution));

TEST(Convolution, ResponseAtBinZeroOnlyKeepsTheMean) {
  TempFolder dir;
  const auto x = Noise(1000, 3);
  WriteSamples(dir / "a.txt", x);
  WriteTransfer(dir / "dc.tf", 1024, [](int i) { return Complex{i == 0 ? 1.0 : 0.0, 0.0}; });
  ConvolutionWorkspace ws;
  ASSERT_EQ(Apply(ws, dir.path(), 10, dir / "dc.tf", TransferOperation::kConvolution).status,
            CalcStatus::kDone);
  double sum = 0.0;
  for (double v : x) sum += v;
  const auto samples = SampleLines(ProcessedFilePath(dir.path(), "a.txt"));
  ASSERT_EQ(samples.size(), 1000u);
  for (const std::string& s : samples) ASSERT_NEAR(ParseDouble(s), sum / 1024, 1e-6) << s;
}

TEST(Deconvolution, OneZeroBinMakesEverySampleNaN) {
  TempFolder dir;
  WriteSamples(dir / "a.txt", Noise(256, 4));
  WriteTransfer(dir / "gap.tf", 256, [](int i) { return Complex{i == 5 ? 0.0 : 1.0, 0.0}; });
  ConvolutionWorkspace ws;
  ASSERT_EQ(Apply(ws, dir.path(), 8, dir / "gap.tf", TransferOperation::kDeconvolution).status,
            CalcStatus::kDone);
  const auto samples = SampleLines(ProcessedFilePath(dir.path(), "a.txt"));
  ASSERT_EQ(samples.size(), 256u);
  for (const std::string& s : samples) ASSERT_TRUE(std::isnan(ParseDouble(s))) << s;
}

struct DivisionCase {
  Complex x, t, expected;
};

class ScaledDivision : public ::testing::TestWithParam<DivisionCase> {};

TEST_P(ScaledDivision, DividesOrGivesNaN) {
  const DivisionCase c = GetParam();
  const Complex q = DivideByTransfer(c.x, c.t);
  if (std::isnan(c.expected.re)) {
    EXPECT_TRUE(std::isnan(q.re) && std::isnan(q.im)) << q.re << " " << q.im;
  } else {
    EXPECT_DOUBLE_EQ(q.re, c.expected.re);
    EXPECT_DOUBLE_EQ(q.im, c.expected.im);
  }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Rules, ScaledDivision,
    ::testing::Values(DivisionCase{{1, 2}, {3, 4}, {0.44, 0.08}},            // |im| larger
                      DivisionCase{{1, 2}, {4, 3}, {0.4, 0.2}},              // |re| larger
                      DivisionCase{{1, 1}, {0, 2}, {0.5, -0.5}},             // purely imaginary
                      DivisionCase{{2, 4}, {2, 0}, {1, 2}},                  // purely real
                      DivisionCase{{1e300, 1e300}, {1e300, 1e300}, {1, 0}},  // no overflow
                      DivisionCase{{1, 2}, {0, 0}, {kNaN, kNaN}},
                      DivisionCase{{0, 0}, {0, 0}, {kNaN, kNaN}},
                      DivisionCase{{1, 2}, {kNaN, 0}, {kNaN, kNaN}},
                      DivisionCase{{1, 2}, {1, kNaN}, {kNaN, kNaN}},
                      DivisionCase{{1, 2}, {kInf, kInf}, {kNaN, kNaN}}));

struct RefusalCase {
  const char* name;
  int precision;
  int transfer_lines;  // -1: no transfer file
  const char* message;
};

class ConvolutionRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ConvolutionRefusal, ShowsTheMessageAndCreatesNothing) {
  const RefusalCase c = GetParam();
  TempFolder dir;
  WriteSamples(dir / "a.txt", Noise(64, 5));
  if (c.transfer_lines >= 0)
    WriteTransfer(dir / "t.tf", c.transfer_lines, [](int) { return Complex{1.0, 0.0}; });
  ConvolutionWorkspace ws;
  Outcome run = Apply(ws, dir.path(), c.precision, dir / "t.tf", TransferOperation::kConvolution);
  EXPECT_EQ(run.status, CalcStatus::kRefused);
  // A missing transfer function is named with the reason, not reported as a size of -2.
  const std::string expected = c.transfer_lines >= 0 ? std::string(c.message)
                                                     : "Cannot read the transfer function \"" +
                                                           (dir / "t.tf") + "\": " + c.message;
  EXPECT_EQ(run.host.messages, std::vector<std::string>{expected});
  EXPECT_FALSE(fs::exists(ProcessedFolder(dir.path())));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ConvolutionRefusal,
    ::testing::Values(
        RefusalCase{"OneLineTooMany", 10, 1025,
                    "Transfer-Function sampling size (1025) is not equal to FFT-precision "
                    "(1.024000e+003)! Provide a valid size or matching FFT-precision!"},
        RefusalCase{"Missing", 10, -1, "No such file or directory!"},
        RefusalCase{"Empty", 0, 0,
                    "Transfer-Function sampling size (0) is not equal to FFT-precision "
                    "(1.000000e+000)! Provide a valid size or matching FFT-precision!"},
        RefusalCase{"BeyondTheBuffers", 15, 32768,
                    "FFT-precision of 15 is outside the program limits of 0 and 14! (a larger "
                    "sample limit, --max-samples N, allows P up to 20)"},
        RefusalCase{"Negative", -1, 0,
                    "FFT-precision of -1 is outside the program limits of 0 and 14!"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Convolution, ColumnsOutputHoldsOneColumnPerWaveform) {
  TempFolder dir;
  WriteSamples(dir / "a.txt", {0, 1, 2, 3, 4, 5});
  WriteSamples(dir / "b.txt", {0, -1, -2, -3});
  WriteTransfer(dir / "flat.tf", 8, [](int) { return Complex{1.0, 0.0}; });
  ConvolutionWorkspace ws;
  Outcome run = Apply(ws, dir.path(), 3, dir / "flat.tf", TransferOperation::kConvolution,
                      ConvolutionOutput::kColumnsFile);
  ASSERT_EQ(run.status, CalcStatus::kDone);
  EXPECT_EQ(run.host.messages, std::vector<std::string>{ColumnsFilePath(dir.path())});
  EXPECT_FALSE(fs::exists(ProcessedFilePath(dir.path(), "a.txt")));

  const auto lines = Lines(ColumnsFilePath(dir.path()));
  ASSERT_EQ(lines.size(), 20u + 6u);
  EXPECT_EQ(lines[0], "7.000000e+000\t7.000000e+000");  // channel
  EXPECT_EQ(lines[1], "1.250000e+001\t1.250000e+001");  // time of test
  EXPECT_EQ(lines[2], "5.000000e+003\t5.000000e+003");  // kHz at 2e-7 s
  for (int i = 3; i < 19; ++i) EXPECT_EQ(lines[i], "0.000000e+000\t0.000000e+000") << i;
  EXPECT_EQ(lines[19], "6.000000e+000\t4.000000e+000");  // sample counts
  for (int j = 1; j < 4; ++j) {
    const size_t tab = lines[20 + j].find('\t');
    EXPECT_NEAR(ParseDouble(lines[20 + j].substr(0, tab)), j, 1e-12);
    EXPECT_NEAR(ParseDouble(lines[20 + j].substr(tab + 1)), -j, 1e-12);
  }
  // Below the end of the shorter column its field stays empty.
  EXPECT_EQ(lines[24].substr(lines[24].find('\t')), "\t");
  EXPECT_NEAR(ParseDouble(lines[25]), 5, 1e-12);
}

// The columns output names the file it wrote; when there is none it says why instead.
TEST(Convolution, ColumnsOutputReportsAMissingFolderOrAnUnwritableFile) {
  TempFolder dir;
  WriteTransfer(dir / "flat.tf", 8, [](int) { return Complex{1.0, 0.0}; });
  ConvolutionWorkspace ws;
  const std::string missing = dir / "missing";
  Outcome run = Apply(ws, missing, 3, dir / "flat.tf", TransferOperation::kConvolution,
                      ConvolutionOutput::kColumnsFile);
  EXPECT_EQ(run.status, CalcStatus::kRefused);
  EXPECT_EQ(run.host.messages,
            std::vector<std::string>{"Folder " + missing + " not found! Nothing was written."});
  EXPECT_FALSE(fs::exists(missing));
  // The single-file output stays silent there, as it always was.
  run = Apply(ws, missing, 3, dir / "flat.tf", TransferOperation::kConvolution,
              ConvolutionOutput::kWaveformFiles);
  EXPECT_EQ(run.status, CalcStatus::kRefused);
  EXPECT_TRUE(run.host.messages.empty());

  WriteSamples(dir / "a.txt", {0, 1, 2});
  std::ofstream(ProcessedFolder(dir.path())) << "a file where the folder should be";
  run = Apply(ws, dir.path(), 3, dir / "flat.tf", TransferOperation::kConvolution,
              ConvolutionOutput::kColumnsFile);
  EXPECT_EQ(run.status, CalcStatus::kFailed);
  EXPECT_EQ(run.host.messages, std::vector<std::string>{"Folder " + ProcessedFolder(dir.path()) +
                                                        " cannot be created: File exists!"});
}

TEST(Convolution, OversizedWaveformEndsTheRunKeepingEarlierOutputs) {
  TempFolder dir;
  WriteSamples(dir / "a.txt", Noise(64, 6));
  WriteSamples(dir / "b.txt", Noise(16385, 7));
  WriteSamples(dir / "c.txt", Noise(64, 8));
  std::ofstream(dir / "d.txt") << "no data";
  WriteTransfer(dir / "flat.tf", 64, [](int) { return Complex{1.0, 0.0}; });
  ConvolutionWorkspace ws;
  Outcome run = Apply(ws, dir.path(), 6, dir / "flat.tf", TransferOperation::kConvolution);
  EXPECT_EQ(run.status, CalcStatus::kRefused);
  EXPECT_EQ(run.host.messages, std::vector<std::string>{
                                   "Sampling size of 16385 exceeds program limit of 16384! "
                                   "(--max-samples N raises the limit, up to 1048576)\n" +
                                   (dir / "b.txt") + ": 16385 sample lines; the run stops here."});
  EXPECT_TRUE(fs::exists(ProcessedFilePath(dir.path(), "a.txt")));
  EXPECT_FALSE(fs::exists(ProcessedFilePath(dir.path(), "c.txt")));

  // Without it: inputs without data are skipped; a waveform longer than N keeps its length,
  // zero from N on.
  fs::remove(dir / "b.txt");
  WriteSamples(dir / "c.txt", Noise(100, 8));
  run = Apply(ws, dir.path(), 6, dir / "flat.tf", TransferOperation::kConvolution);
  EXPECT_EQ(run.status, CalcStatus::kDone);
  EXPECT_EQ(ws.skipped, 1);
  const auto samples = SampleLines(ProcessedFilePath(dir.path(), "c.txt"));
  ASSERT_EQ(samples.size(), 100u);
  for (size_t j = 64; j < 100; ++j) EXPECT_EQ(samples[j], "0.000000") << j;
}

// A raised sample limit lets a record longer than 16384 samples through whole, with a transform
// as large as it needs (2^15 here), and gives the same bytes as before for the short ones.
TEST(Convolution, ARaisedLimitTransformsLongRecordsWhole) {
  TempFolder dir;
  const std::vector<double> long_one = Noise(20000, 21), short_one = Noise(300, 22);
  WriteSamples(dir / "long.txt", long_one);
  WriteSamples(dir / "short.txt", short_one);
  WriteTransfer(dir / "gain.tf", 32768, [](int) { return Complex{2.0, 0.0}; });
  ConvolutionWorkspace ws;
  Outcome run = Apply(ws, dir.path(), 15, dir / "gain.tf", TransferOperation::kConvolution);
  EXPECT_EQ(run.status, CalcStatus::kRefused);  // the default limit allows 2^14 points
  ASSERT_EQ(run.host.messages.size(), 1u);
  EXPECT_NE(run.host.messages[0].find("--max-samples"), std::string::npos);

  ws.maxSamples = 32768;
  EXPECT_EQ(MaxFftPrecision(ws.maxSamples), 15);
  run = Apply(ws, dir.path(), 15, dir / "gain.tf", TransferOperation::kConvolution);
  ASSERT_EQ(run.status, CalcStatus::kDone);
  EXPECT_TRUE(run.host.messages.empty());
  for (const auto& [name, input] :
       {std::pair{"long.txt", long_one}, std::pair{"short.txt", short_one}}) {
    const auto samples = SampleLines(ProcessedFilePath(dir.path(), name));
    ASSERT_EQ(samples.size(), input.size()) << name;
    // A flat gain of 2 doubles every sample, the last ones of the long record included.
    for (size_t j = 0; j < input.size(); ++j)
      ASSERT_NEAR(ParseDouble(samples[j]), 2.0 * input[j], 1e-6) << name << " sample " << j;
  }

  // A short run after it, with the limit raised, writes what the default limit writes.
  fs::remove(dir / "long.txt");
  WriteTransfer(dir / "flat.tf", 1024, [](int) { return Complex{1.0, 0.0}; });
  ASSERT_EQ(Apply(ws, dir.path(), 10, dir / "flat.tf", TransferOperation::kConvolution).status,
            CalcStatus::kDone);
  const std::string raised = testing::ReadBytes(ProcessedFilePath(dir.path(), "short.txt"));
  ConvolutionWorkspace fresh;
  ASSERT_EQ(Apply(fresh, dir.path(), 10, dir / "flat.tf", TransferOperation::kConvolution).status,
            CalcStatus::kDone);
  EXPECT_EQ(raised, testing::ReadBytes(ProcessedFilePath(dir.path(), "short.txt")));

  // A record over the raised limit is still refused, naming the limit it is over.
  WriteSamples(dir / "longer.txt", Noise(40000, 23));
  run = Apply(ws, dir.path(), 10, dir / "flat.tf", TransferOperation::kConvolution);
  EXPECT_EQ(run.status, CalcStatus::kRefused);
  ASSERT_FALSE(run.host.messages.empty());
  EXPECT_EQ(run.host.messages.back().rfind(
                "Sampling size of 40000 exceeds program limit of 32768! (--max-samples", 0),
            0u)
      << run.host.messages.back();
  EXPECT_EQ(MaxFftPrecision(kLargestSampleLimit), 20);
  EXPECT_EQ(MaxFftPrecision(MAX_SAMPLES), kMaxFftPrecision);
  EXPECT_EQ(MaxFftPrecision(16385), 15);
}

TEST(ReadTransferFunction, CountsEveryLineAndStoresWhatFits) {
  TempFolder dir;
  std::string text = "title\n1.5\t-2\r\n3\n";
  for (int i = 0; i < MAX_SAMPLES; ++i) text += "4\t5\n";
  std::ofstream(dir / "t.tf", std::ios::binary) << text;
  std::vector<Complex> t;
  EXPECT_EQ(ReadTransferFunction(dir / "t.tf", t), MAX_SAMPLES + 3);
  ASSERT_EQ(t.size(), static_cast<size_t>(MAX_SAMPLES) + 1);
  EXPECT_EQ(t[1].re, 1.5);
  EXPECT_EQ(t[1].im, -2.0);
  EXPECT_EQ(t[2].re, 3.0);  // no tab: imaginary part 0
  EXPECT_EQ(t[2].im, 0.0);
  EXPECT_EQ(t[MAX_SAMPLES].re, 4.0);
  EXPECT_EQ(ReadTransferFunction(dir / "missing.tf", t), -1);
  EXPECT_EQ(ReadTransferFunction(dir.path(), t), -1);  // a folder is no transfer function
}

// A bin is "real<TAB>imaginary" of two finite numbers with blanks around them: anything else
// refuses the file naming the line (atof would read "0,5" as 0; nan would fill the result).
class TransferFunctionRefusal
    : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(TransferFunctionRefusal, NamesTheLine) {
  TempFolder dir;
  std::ofstream(dir / "t.tf", std::ios::binary) << "title\n1\t0\n"
                                                << GetParam().first << "\n2\t0\n";
  std::vector<Complex> t;
  std::string problem;
  EXPECT_EQ(ReadTransferFunction(dir / "t.tf", t, &problem), -1);
  EXPECT_NE(problem.find("(line 3) of the transfer function " + (dir / "t.tf")), std::string::npos)
      << problem;
  EXPECT_NE(problem.find(GetParam().second), std::string::npos) << problem;
}

INSTANTIATE_TEST_SUITE_P(Lines, TransferFunctionRefusal,
                         ::testing::Values(std::make_pair("nan\t0", "two finite numbers"),
                                           std::make_pair("1\tinf", "two finite numbers"),
                                           std::make_pair("1e400", "two finite numbers"),
                                           std::make_pair("0,5\t1", "decimal comma"),
                                           std::make_pair("1\t2x", "two finite numbers"),
                                           std::make_pair("", "two finite numbers"),
                                           std::make_pair("abc", "two finite numbers")));

TEST(ReadTransferFunction, BlanksAroundNumbersAndBlankLinesAtTheEndAreFine) {
  TempFolder dir;
  std::ofstream(dir / "t.tf", std::ios::binary) << "title\r\n 1.5 \t -2 \r\n+3e0\r\n\r\n \r\n";
  std::vector<Complex> t;
  std::string problem;
  EXPECT_EQ(ReadTransferFunction(dir / "t.tf", t, &problem), 3);
  EXPECT_EQ(problem, "");
  EXPECT_EQ(t[1].re, 1.5);
  EXPECT_EQ(t[1].im, -2.0);
  EXPECT_EQ(t[2].re, 3.0);
  EXPECT_EQ(t[2].im, 0.0);
}

}  // namespace
}  // namespace plexo
