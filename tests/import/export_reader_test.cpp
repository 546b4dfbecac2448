// Reading other programs' waveform exports from their text.
#include "import/export_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "import/export_text.h"

namespace plexo {
namespace {

struct NumberCase {
  std::string field;
  bool accepted;
  double value;  // when accepted
};

class NumberFields : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberFields, AreWholeNumbersWithPointOrComma) {
  const NumberCase& c = GetParam();
  const auto value = ParseNumberField(c.field);
  ASSERT_EQ(value.has_value(), c.accepted) << c.field;
  if (c.accepted) {
    EXPECT_EQ(*value, c.value) << c.field;
  }
}

INSTANTIATE_TEST_SUITE_P(
    ImportText, NumberFields,
    ::testing::Values(NumberCase{"-0.00274658", true, -0.00274658},
                      NumberCase{"  1.5e-3 \t", true, 1.5e-3}, NumberCase{"+2", true, 2.0},
                      NumberCase{"-0,25", true, -0.25}, NumberCase{"0,0000010000", true, 1e-6},
                      NumberCase{"1,5e2", true, 150.0}, NumberCase{"", false, 0},
                      NumberCase{"   ", false, 0}, NumberCase{"abc", false, 0},
                      NumberCase{"1.5V", false, 0}, NumberCase{"1.2,5", false, 0},
                      NumberCase{"1,2,3", false, 0}, NumberCase{"0x10", false, 0},
                      NumberCase{"+-1", false, 0}, NumberCase{"1 2", false, 0},
                      NumberCase{"-/-", false, 0}));

TEST(ImportText, LinesDropTheByteOrderMarkAndEitherLineEnd) {
  const auto lines = SplitExportLines(
      "\xEF\xBB\xBF"
      "a\r\nb\n\r\nc");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "a");
  EXPECT_EQ(lines[1], "b");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "c");
  EXPECT_EQ(SplitExportLines("x\n").size(), 1u);
}

// The header of the CSV export as the acquisition software writes it.
std::string CsvHeader(int declared, const std::string& eol,
                      const std::string& interval = "0.0000010000") {
  return "SOURCE FILE NAME: C:\\data\\1.DTA" + eol + "DATE: Monday, April 20, 2026" + eol +
         "TIME: 12:13:47" + eol + "SAMPLE INTERVAL (Seconds):   " + interval + eol +
         "SIGNAL UNITS: volts" + eol + "TIME UNITS: Seconds" + eol + "DATA TYPE: WAVEFORM" + eol +
         "NUMBER OF DATA POINTS PER WAVEFORM: " + std::to_string(declared) + eol +
         "CHANNEL NUMBER: 3" + eol + "HIT NUMBER: 100" + eol + "TIME OF TEST: 40.5456285" + eol +
         eol;
}

// The CSV export with one "time, volts" row per value.
std::string CsvExport(const std::vector<double>& volts, int declared, const std::string& eol) {
  std::string text = CsvHeader(declared, eol);
  for (size_t i = 0; i < volts.size(); ++i) {
    char row[64];
    std::snprintf(row, sizeof row, "%.8f, %.8f", -0.000256 + 1e-6 * i, volts[i]);
    text += row + eol;
  }
  return text;
}

struct ReadCase {
  const char* name;
  std::string text;
  std::string stem;
  ExportKind kind;
  std::vector<double> samples;  // expected when read; empty when refused
  std::string message;          // part of the error (refused) or of a warning
};

class ExportTexts : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ExportTexts, GiveTheirSamplesOrARefusalNamingTheLine) {
  const ReadCase& c = GetParam();
  ImportOptions options;
  options.sampleInterval = 2e-7;
  const ExportContents got = ReadExportText(c.text, c.stem, options);
  EXPECT_EQ(got.kind, c.kind);
  if (c.samples.empty()) {
    EXPECT_NE(got.error.find(c.message), std::string::npos) << got.error;
    return;
  }
  EXPECT_EQ(got.error, "");
  EXPECT_EQ(got.samples, c.samples);
  if (!c.message.empty()) {
    ASSERT_EQ(got.warnings.size(), 1u);
    EXPECT_NE(got.warnings[0].find(c.message), std::string::npos) << got.warnings[0];
  } else {
    EXPECT_TRUE(got.warnings.empty());
  }
}

const std::string kNineHeader =
    "SOURCE FILE NAME: -/-\r\nDATE:\t08.12.2026\r\nTIME:\t09:30:00\r\n"
    "SAMPLE INTERVAL (Seconds):   1.000000e-007\r\nUNITS:\tvolts\r\nCHANNEL NUMBER:\t2\r\n"
    "HIT NUMBER: -/-\r\nTIME OF TEST:\t1.522310e+001\r\n\r\n";

INSTANTIATE_TEST_SUITE_P(
    ImportText, ExportTexts,
    ::testing::Values(
        ReadCase{"HeaderlessWithLf",
                 "0.5\n-0.25\n1e-3\n",
                 "x",
                 ExportKind::kHeaderless,
                 {0.5, -0.25, 1e-3},
                 ""},
        ReadCase{"HeaderlessWithBomCommasCrLfBlanks",
                 "\xEF\xBB\xBF 0,5 \r\n-0,25\t\r\n2\r\n\r\n",
                 "x",
                 ExportKind::kHeaderless,
                 {0.5, -0.25, 2.0},
                 ""},
        ReadCase{"HeaderlessTextRow",
                 "1\n2\nclipped\n3\n",
                 "x",
                 ExportKind::kHeaderless,
                 {},
                 "line 3: \"clipped\" is not a number"},
        ReadCase{"HeaderlessNaN",
                 "1\nnan\n",
                 "x",
                 ExportKind::kHeaderless,
                 {},
                 "line 2: \"nan\" is not a finite number"},
        ReadCase{
            "HeaderlessBlankInTheMiddle", "1\n\n2\n", "x", ExportKind::kHeaderless, {}, "line 2"},
        // The reader stores the sample two lines after the time of test as 0.
        ReadCase{"NineLine",
                 kNineHeader + "0.7\r\n0.001932\r\n-0.5\r\n",
                 "x",
                 ExportKind::kNineLine,
                 {0.0, 0.001932, -0.5},
                 ""},
        ReadCase{"NineLineDecimalCommas",
                 "SOURCE FILE NAME: -/-\nDATE:\t1\nTIME:\t2\n"
                 "SAMPLE INTERVAL (Seconds):   1,0e-007\nUNITS:\tvolts\nCHANNEL NUMBER:\t2\n"
                 "HIT NUMBER: -/-\nTIME OF TEST:\t1,5\n\n0,7\n0,25\n",
                 "x",
                 ExportKind::kNineLine,
                 {0.0, 0.25},
                 ""},
        ReadCase{"NineLineWrongIntervalKey",
                 "SOURCE FILE NAME: -/-\nDATE:\t1\nTIME:\t2\nSAMPLE INTERVAL: 1e-7\nUNITS:\tV\n"
                 "CHANNEL NUMBER:\t2\nHIT NUMBER: -/-\nTIME OF TEST:\t1\n\n0.5\n",
                 "x",
                 ExportKind::kNineLine,
                 {},
                 "line 4: the sample interval line"},
        ReadCase{"CsvWithLf",
                 CsvExport({-0.00274658, 0.5, 9.99938965}, 3, "\n"),
                 "x",
                 ExportKind::kCsvExport,
                 {-0.00274658, 0.5, 9.99938965},
                 ""},
        ReadCase{"CsvWithCrLfAndWrongCount",
                 CsvExport({1.0, 2.0}, 1024, "\r\n"),
                 "x",
                 ExportKind::kCsvExport,
                 {1.0, 2.0},
                 "declares 1024 data points, the file holds 2"},
        ReadCase{"CsvWithDecimalCommas",
                 "\xEF\xBB\xBF" + CsvHeader(2, "\r\n", "0,0000010000") +
                     "-0,000256; -0,5 \r\n-0,000255\t0,25\r\n-0,000254, 0,125\r\n",
                 "x",
                 ExportKind::kCsvExport,
                 {-0.5, 0.25, 0.125},
                 "declares 2 data points, the file holds 3"},
        ReadCase{"CsvRowWithOneColumn",
                 CsvExport({1.0}, 2, "\n") + "0.1\n",
                 "x",
                 ExportKind::kCsvExport,
                 {},
                 "line 14: \"0.1\" is not a row of time and value"},
        ReadCase{"CsvRowWithInfinity",
                 CsvExport({1.0}, 2, "\n") + "0.1, inf\n",
                 "x",
                 ExportKind::kCsvExport,
                 {},
                 "line 14: \"inf\" is not a finite number"},
        ReadCase{"LocationListing",
                 "C:\\x\\1-event.TXT\r\nExpress-8 (r) Location Version\r\n\r\n"
                 "* Gp# 1[1,3,5,6] x,y,z = -8.996, 14.46, 18.98\r\n",
                 "x",
                 ExportKind::kUnknown,
                 {},
                 "not a waveform export"},
        ReadCase{"Empty", "", "x", ExportKind::kUnknown, {}, "not a waveform export"},
        ReadCase{"HeaderOnly", kNineHeader, "x", ExportKind::kNineLine, {}, "no samples"},
        ReadCase{"HeaderCutShort", "SAMPLE INTERVAL (Seconds):   1e-7\nTIME OF TEST: 1\n", "x",
                 ExportKind::kNineLine, {}, "no samples"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ImportText, CsvHeaderValuesAreTakenTrimmed) {
  const ExportContents got = ReadExportText(CsvExport({0.5}, 1, "\r\n"), "x", {});
  ASSERT_EQ(got.error, "");
  EXPECT_EQ(got.header.sampleInterval, 1e-6);
  EXPECT_EQ(got.header.units, "volts");
  EXPECT_EQ(got.header.channel, 3);
  EXPECT_EQ(got.header.timeOfTest, 40.5456285);
  EXPECT_EQ(got.header.date, "Monday, April 20, 2026");
  EXPECT_EQ(got.header.time, "12:13:47");
  EXPECT_EQ(got.hitNumber, 100);
}

struct HeaderlessCase {
  std::string stem;
  ImportOptions options;
  int channel;
  double timeOfTest;
};

class HeaderlessHeaders : public ::testing::TestWithParam<HeaderlessCase> {};

TEST_P(HeaderlessHeaders, ComeFromTheOptionsThenTheNameThenDefaults) {
  const HeaderlessCase& c = GetParam();
  ImportOptions options = c.options;
  options.sampleInterval = 2e-7;
  const ExportContents got = ReadExportText("0.1\n0.2\n", c.stem, options);
  ASSERT_EQ(got.error, "");
  EXPECT_EQ(got.header.channel, c.channel);
  EXPECT_EQ(got.header.timeOfTest, c.timeOfTest);
  EXPECT_EQ(got.header.sampleInterval, 2e-7);
}

ImportOptions Given(std::optional<int> channel, std::optional<double> time_of_test) {
  ImportOptions options;
  options.channel = channel;
  options.timeOfTest = time_of_test;
  return options;
}

INSTANTIATE_TEST_SUITE_P(
    ImportText, HeaderlessHeaders,
    ::testing::Values(HeaderlessCase{"EXP1001_1_1031_27467421", {}, 1, 27.467421},
                      HeaderlessCase{"my_test_4_12_500", {}, 4, 0.0005},
                      HeaderlessCase{"EXP1001_2_1031_27467421", Given(7, std::nullopt), 7,
                                     27.467421},
                      HeaderlessCase{"EXP1001_2_1031_27467421", Given(std::nullopt, 3.5), 2, 3.5},
                      HeaderlessCase{"hit_003", {}, 1, 0.0}, HeaderlessCase{"a_b_1_2", {}, 1, 0.0},
                      HeaderlessCase{"_1_2_3", {}, 1, 0.0}));

TEST(ImportText, HeaderlessNeedsASampleIntervalAndLongFilesWarn) {
  ExportContents got = ReadExportText("0.1\n", "x", {});
  EXPECT_NE(got.error.find("--dt"), std::string::npos) << got.error;

  std::string long_text;
  for (int i = 0; i < MAX_SAMPLES + 5; ++i) long_text += "0.5\n";
  ImportOptions options;
  options.sampleInterval = 1e-7;
  got = ReadExportText(long_text, "x", options);
  ASSERT_EQ(got.error, "");
  EXPECT_EQ(got.samples.size(), static_cast<size_t>(MAX_SAMPLES + 5));
  ASSERT_EQ(got.warnings.size(), 1u);
  EXPECT_NE(got.warnings[0].find("16389 samples"), std::string::npos);
  EXPECT_NE(got.warnings[0].find("at most 16384"), std::string::npos);
}

TEST(ImportText, AHeaderWithoutAnIntervalTakesTheOption) {
  const std::string text =
      "SOURCE FILE NAME: -/-\nDATE:\t1\nTIME:\t2\nSAMPLE INTERVAL (Seconds):   0\nUNITS:\tV\n"
      "CHANNEL NUMBER:\t2\nHIT NUMBER: -/-\nTIME OF TEST:\t1\n\n0.5\n0.25\n";
  EXPECT_NE(ReadExportText(text, "x", {}).error.find("--dt"), std::string::npos);
  ImportOptions options;
  options.sampleInterval = 4e-7;
  EXPECT_EQ(ReadExportText(text, "x", options).header.sampleInterval, 4e-7);
}

}  // namespace
}  // namespace plexo
