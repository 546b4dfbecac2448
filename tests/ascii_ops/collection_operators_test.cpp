// The collection operators against hand-written expected files.
#include "ascii_ops/collection_operators.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ascii_test_files.h"
#include "platform/recording_host.h"
#include "signal/waveform.h"

namespace plexo {
namespace {

using testing::Crlf;
using testing::Exists;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using testing::WriteWave;

// Asks to stop once the position has reached `after`.
class StoppingProgress : public NullProgress {
 public:
  explicit StoppingProgress(int after) : after_(after) {}
  void SetPos(int pos) override { pos_ = pos; }
  bool StopRequested() const override { return pos_ >= after_; }

 private:
  int after_;
  int pos_ = 0;
};

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class CollectionOperatorsTest : public ::testing::Test {
 protected:
  TempDir dir;
  RecordingHost host;
  NullProgress progress;
  AsciiWorkspace ws;
  std::string ConvData(const std::string& name) const { return dir.path() + "/convData/" + name; }
};

TEST_F(CollectionOperatorsTest, AccumulateListsPositiveTimesInFolderOrderWithDecimalCommas) {
  WriteWave(dir / "a.txt", "1.000000e-006", 1, "2.000000e+000", {"1"});
  WriteWave(dir / "b.txt", "1.000000e-006", 1, "1.000000e+000", {"1"});
  WriteWave(dir / "c.txt", "1.000000e-006", 1, "1.500000e+000", {"1"});
  // No positive time of test, and no time of test at all: no row, nothing inherited.
  WriteWave(dir / "d.txt", "1.000000e-006", 1, "0", {"1"});
  WriteBytes(dir / "e.txt", "SAMPLE INTERVAL (Seconds):   1e-6\r\n");
  ASSERT_EQ(Accumulate(ws, dir.path(), progress, host), CalcStatus::kDone);
  EXPECT_EQ(ReadBytes(ConvData("Accumulated_waveforms.txt")),
            Crlf("1,000000e+000\t2,000000e+000\n"
                 "2,000000e+000\t1,000000e+000\n"
                 "3,000000e+000\t1,500000e+000\n"));
  // The header-only file has no sample line: skipped and named.
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind("Skipped 1 file:\n" + (dir / "e.txt") + ": ", 0), 0u)
      << host.messages[0];
}

TEST_F(CollectionOperatorsTest, ColumnsPutsTwentyHeaderLinesAndSamplesFromOneSideBySide) {
  WriteWave(dir / "a.txt", "1.000000e-006", 1, "2.000000e+000", {"0.5", "1", "-2", "0.25"});
  WriteWave(dir / "b.txt", "5.000000e-007", 2, "3.500000e+000", {"1", "2", "3", "4"});
  ASSERT_EQ(Columns(ws, dir.path(), progress, host), CalcStatus::kDone);
  std::string expected =
      "1\t2\n"
      "2.000000e+000\t3.500000e+000\n"
      "1.000000e+003\t2.000000e+003\n";
  for (int i = 0; i < 16; ++i) expected += "0\t0\n";
  expected +=
      "4\t4\n"
      "1.000000e+000\t2.000000e+000\n"
      "-2.000000e+000\t3.000000e+000\n"
      "2.500000e-001\t4.000000e+000\n"
      "\n";
  EXPECT_EQ(ReadBytes(ConvData("Column_ASCII_waveforms.txt")), Crlf(expected));
}

TEST_F(CollectionOperatorsTest, ColumnsKeepsLaterColumnsInPlaceBesideAShorterFile) {
  WriteWave(dir / "a.txt", "1.000000e-006", 1, "1", {"0", "1", "2", "3"});
  WriteWave(dir / "b.txt", "1.000000e-006", 2, "1", {"0", "5"});
  WriteWave(dir / "c.txt", "1.000000e-006", 3, "1", {"0", "7", "8", "9"});
  ASSERT_EQ(Columns(ws, dir.path(), progress, host), CalcStatus::kDone);
  const std::string text = ReadBytes(ConvData("Column_ASCII_waveforms.txt"));
  EXPECT_NE(text.find(Crlf("4\t2\t4\n"
                           "1.000000e+000\t5.000000e+000\t7.000000e+000\n"
                           "2.000000e+000\t\t8.000000e+000\n"
                           "3.000000e+000\t\t9.000000e+000\n"
                           "\n")),
            std::string::npos)
      << text;
}

// Files Columns cannot use are skipped and named; the table holds the others, in order, and
// never a count of -9 or a rate of inf.
struct UnusableFile {
  const char* name;
  std::string bytes;
  const char* reason;  // part of the message naming the file
};

class ColumnsSkips : public ::testing::TestWithParam<UnusableFile> {};

std::string WaveText(const std::string& interval, const std::string& channel) {
  return "SOURCE FILE NAME: x\r\nDATE:\t1\r\nTIME:\t1\r\nSAMPLE INTERVAL (Seconds):   " + interval +
         "\r\nUNITS:\tV\r\nCHANNEL NUMBER:\t" + channel +
         "\r\nHIT NUMBER: 1\r\nTIME OF TEST:\t1\r\n\r\n1\r\n2\r\n";
}

TEST_P(ColumnsSkips, TheFileIsNamedAndTheOthersWritten) {
  TempDir dir;
  RecordingHost host;
  NullProgress progress;
  AsciiWorkspace ws;
  WriteWave(dir / "a.txt", "1.000000e-006", 1, "1", {"0", "1"});
  WriteBytes(dir / "b.txt", GetParam().bytes);
  WriteWave(dir / "c.txt", "1.000000e-006", 3, "1", {"0", "3"});
  ASSERT_EQ(Columns(ws, dir.path(), progress, host), CalcStatus::kDone);
  const std::string head =
      Crlf("1\t3\n1.000000e+000\t1.000000e+000\n1.000000e+003\t1.000000e+003\n");
  EXPECT_EQ(ReadBytes(dir / "convData/Column_ASCII_waveforms.txt").substr(0, head.size()), head);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind("Skipped 1 file:\n", 0), 0u) << host.messages[0];
  EXPECT_NE(host.messages[0].find(dir / "b.txt"), std::string::npos) << host.messages[0];
  EXPECT_NE(host.messages[0].find(GetParam().reason), std::string::npos) << host.messages[0];

  // Accumulate skips the same files, by name.
  host.messages.clear();
  ASSERT_EQ(Accumulate(ws, dir.path(), progress, host), CalcStatus::kDone);
  if (std::string(GetParam().name) != "ZeroInterval") {
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find(dir / "b.txt"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ColumnsSkips,
    ::testing::Values(
        UnusableFile{"Empty", "", "no data"},
        UnusableFile{"Binary", std::string("\xff\xfe\0S\0A", 6), "NUL byte"},
        UnusableFile{"CarriageReturnsOnly", std::string(40, '\r'), "no data"},
        UnusableFile{"ZeroInterval", WaveText("0", "2"), "no positive sample interval"},
        UnusableFile{"ChannelTooLarge", WaveText("1e-6", "99999999999"), "does not fit"},
        UnusableFile{"DecimalComma", WaveText("1e-6", "2") + "0,5\r\n", "decimal comma"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CollectionOperatorsTest, AccumulateWithoutAnyPositiveTimeRefusesAndWritesNothing) {
  WriteWave(dir / "a.txt", "1.000000e-006", 1, "0", {"1"});
  EXPECT_EQ(Accumulate(ws, dir.path(), progress, host), CalcStatus::kRefused);
  EXPECT_EQ(host.messages, std::vector<std::string>{"No waveform file in " + dir.path() +
                                                    " has a positive \"TIME OF TEST\": nothing "
                                                    "written."});
  EXPECT_FALSE(Exists(ConvData("Accumulated_waveforms.txt")));
}

TEST_F(CollectionOperatorsTest, ColumnsStrictStopsAtTheFirstUnusableFile) {
  WriteWave(dir / "a.txt", "1.000000e-006", 1, "1", {"0", "1"});
  WriteBytes(dir / "b.txt", "");
  ws.strict = true;
  EXPECT_EQ(Columns(ws, dir.path(), progress, host), CalcStatus::kRefused);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind(dir / "b.txt", 0), 0u) << host.messages[0];
  EXPECT_FALSE(Exists(ConvData("Column_ASCII_waveforms.txt")));
}

TEST_F(CollectionOperatorsTest, ColumnsRefusesMoreSamplesThanItsTableHolds) {
  WriteWave(dir / "a.txt", "1.000000e-006", 1, "1", {"1", "2"});
  WriteWave(dir / "b.txt", "1.000000e-006", 1, "1",
            std::vector<std::string>(kMaxColumnsSamples + 1, "1"));
  EXPECT_EQ(Columns(ws, dir.path(), progress, host), CalcStatus::kRefused);
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"Sampling size of 16365 exceeds program limit of 16364!\n" +
                                     (dir / "b.txt")});
  EXPECT_FALSE(Exists(ConvData("Column_ASCII_waveforms.txt")));
}

TEST_F(CollectionOperatorsTest, OperatorsRefuseAMissingOrEmptyFolder) {
  using Operator = CalcStatus (*)(AsciiWorkspace&, const std::string&, CalcProgress&, Host&);
  for (Operator op : {Accumulate, Columns, EventLinking, Split}) {
    host.messages.clear();
    EXPECT_EQ(op(ws, dir / "missing", progress, host), CalcStatus::kRefused);
    EXPECT_EQ(op(ws, dir.path(), progress, host), CalcStatus::kRefused);
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{std::string(kNoFilesMessage) + "\n" + (dir / "missing"),
                                        std::string(kNoFilesMessage) + "\n" + dir.path()}));
  }
  EXPECT_FALSE(Exists(dir / "missing"));
}

TEST_F(CollectionOperatorsTest, StoppingBetweenFilesLeavesNoTable) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"})
    WriteWave(dir / name, "1.000000e-006", 1, "1", {"1", "2"});
  StoppingProgress stop(1);
  EXPECT_EQ(Columns(ws, dir.path(), stop, host), CalcStatus::kStopped);
  StoppingProgress stop_again(1);
  EXPECT_EQ(Accumulate(ws, dir.path(), stop_again, host), CalcStatus::kStopped);
  EXPECT_EQ(Names(dir / "convData"), std::vector<std::string>{});
}

// ---- Event linking

std::vector<std::string> Numbers(int first, int step, int n) {
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i) out.push_back(std::to_string(first + i * step));
  return out;
}

// Field `column` of every line of a table.
std::vector<std::string> Column(const std::string& text, int column) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = text.substr(start, end - start);
    size_t from = 0;
    for (int i = 0; i < column; ++i) from = line.find('\t', from) + 1;
    out.push_back(line.substr(from, line.find('\t', from) - from));
  }
  return out;
}

TEST_F(CollectionOperatorsTest, EventLinkingWritesOneTablePerEventIntoConvData) {
  // dt = 0.25 s; every event's channel 2 arrives two rows after channel 1.
  for (int event : {1, 2}) {
    const std::string e = std::to_string(event);
    WriteWave(dir / ("a1_" + e + ".txt"), "2.500000e-001", 1, "1.000000e+000", Numbers(1, 1, 4));
    WriteWave(dir / ("a2_" + e + ".txt"), "2.500000e-001", 2, "1.500000e+000", Numbers(10, 10, 4));
  }
  ASSERT_EQ(EventLinking(ws, dir.path(), progress, host), CalcStatus::kDone);
  EXPECT_EQ(Names(dir / "convData"), (std::vector<std::string>{"00000001.txt", "00000002.txt"}));
  // Rows 0 .. c - 2: time, channel 1 unchanged, channel 2 two rows lower.
  const std::string table = Crlf(
      "0,000000e+000\t1,000000e+000\t0,000000e+000\n"
      "2,500000e-001\t2,000000e+000\t0,000000e+000\n"
      "5,000000e-001\t3,000000e+000\t1,000000e+001\n");
  EXPECT_EQ(ReadBytes(ConvData("00000001.txt")), table);
  EXPECT_EQ(ReadBytes(ConvData("00000002.txt")), table);
}

struct DelayCase {
  const char* name;
  const char* channel2Time;  // channel 1 arrives at 1 s, dt = 0.25 s
  int rows;                  // how much lower channel 2 appears
};

class EventLinkingDelay : public CollectionOperatorsTest,
                          public ::testing::WithParamInterface<DelayCase> {};

TEST_P(EventLinkingDelay, ChannelsMoveByTheirDelayRoundedHalfAwayFromZero) {
  WriteWave(dir / "ch1_1.txt", "2.500000e-001", 1, "1.000000e+000", Numbers(1, 1, 8));
  WriteWave(dir / "ch2_1.txt", "2.500000e-001", 2, GetParam().channel2Time, Numbers(10, 10, 8));
  ASSERT_EQ(EventLinking(ws, dir.path(), progress, host), CalcStatus::kDone);
  const char* tens[] = {"1,000000e+001", "2,000000e+001", "3,000000e+001", "4,000000e+001",
                        "5,000000e+001", "6,000000e+001", "7,000000e+001"};
  std::vector<std::string> expected;
  for (int row = 0; row < 7; ++row)
    expected.push_back(row < GetParam().rows ? "0,000000e+000" : tens[row - GetParam().rows]);
  const std::string text = ReadBytes(ConvData("00000001.txt"));
  EXPECT_EQ(Column(text, 2), expected) << text;
  EXPECT_EQ(Column(text, 1), (std::vector<std::string>{
                                 "1,000000e+000", "2,000000e+000", "3,000000e+000", "4,000000e+000",
                                 "5,000000e+000", "6,000000e+000", "7,000000e+000"}));
}

INSTANTIATE_TEST_SUITE_P(Delays, EventLinkingDelay,
                         ::testing::Values(DelayCase{"Same", "1.000000e+000", 0},
                                           DelayCase{"ThreePointTwo", "1.800000e+000", 3},
                                           DelayCase{"ThreePointFive", "1.875000e+000", 4},
                                           DelayCase{"TwoPointFive", "1.625000e+000", 3},
                                           DelayCase{"BeyondTheTable", "1.000000e+010", 7}),
                         [](const ::testing::TestParamInfo<DelayCase>& info) {
                           return info.param.name;
                         });

TEST_F(CollectionOperatorsTest, EventLinkingDelaysCountFromTheEarliestChannel) {
  // Channel 2 hits first and stays; channel 1 is 2.5 rows later (three rows down), channel 3
  // one row later. No channel is shifted up out of the table.
  WriteWave(dir / "c1_1.txt", "2.500000e-001", 1, "1.000000e+000", Numbers(1, 1, 8));
  WriteWave(dir / "c2_1.txt", "2.500000e-001", 2, "3.750000e-001", Numbers(10, 10, 8));
  WriteWave(dir / "c3_1.txt", "2.500000e-001", 3, "6.250000e-001", Numbers(100, 100, 8));
  ASSERT_EQ(EventLinking(ws, dir.path(), progress, host), CalcStatus::kDone);
  const std::string text = ReadBytes(ConvData("00000001.txt"));
  EXPECT_EQ(Column(text, 2)[0], "1,000000e+001");
  EXPECT_EQ(Column(text, 1), (std::vector<std::string>{
                                 "0,000000e+000", "0,000000e+000", "0,000000e+000", "1,000000e+000",
                                 "2,000000e+000", "3,000000e+000", "4,000000e+000"}));
  EXPECT_EQ(Column(text, 3), (std::vector<std::string>{
                                 "0,000000e+000", "1,000000e+002", "2,000000e+002", "3,000000e+002",
                                 "4,000000e+002", "5,000000e+002", "6,000000e+002"}));
}

TEST_F(CollectionOperatorsTest, EventLinkingReadsWholeNumbersAndWritesEveryEventByItsNumber) {
  // Events 1 and 5: 00000001.txt and 00000005.txt, each from its own files.
  WriteWave(dir / "x1_1.txt", "1.000000e+000", 1, "1", {"1", "2", "3"});
  WriteWave(dir / "x2_1.txt", "1.000000e+000", 2, "1", {"4", "5", "6"});
  WriteWave(dir / "x1_5.txt", "1.000000e+000", 1, "1", {"7", "8", "9"});
  WriteWave(dir / "x2_5.txt", "1.000000e+000", 2, "1", {"10", "11", "12"});
  ASSERT_EQ(EventLinking(ws, dir.path(), progress, host), CalcStatus::kDone);
  EXPECT_EQ(Names(dir / "convData"), (std::vector<std::string>{"00000001.txt", "00000005.txt"}));
  EXPECT_EQ(ReadBytes(ConvData("00000005.txt")),
            Crlf("0,000000e+000\t7,000000e+000\t1,000000e+001\n"
                 "1,000000e+000\t8,000000e+000\t1,100000e+001\n"));
  EXPECT_TRUE(host.messages.empty());

  // ch11_1.txt is channel 11, not 1: event 1 then lacks channels 3 to 10 and is named, not
  // written with channels that were never read; event 5 lacks them too.
  host.messages.clear();
  WriteWave(dir / "x11_1.txt", "1.000000e+000", 11, "1", {"5", "6", "7"});
  EXPECT_EQ(EventLinking(ws, dir.path(), progress, host), CalcStatus::kRefused);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_NE(host.messages[0].find("Event 1: no file of channel 3, 4, 5, 6, 7, 8, 9, 10,"),
            std::string::npos)
      << host.messages[0];
  EXPECT_NE(host.messages[0].find("Event 5: no file of channel 3,"), std::string::npos);
}

TEST_F(CollectionOperatorsTest, EventLinkingNamesWhatItSkipsCutsOrLeavesEmpty) {
  WriteWave(dir / "a1_1.txt", "1.000000e+000", 1, "0", {"1", "2", "3"});
  WriteWave(dir / "a2_1.txt", "1.000000e+000", 2, "9", {"4", "5", "6", "7"});  // longer, late
  WriteWave(dir / "a24_1.txt", "1.000000e+000", 24, "0", {"1", "2", "3"});
  WriteWave(dir / "a1_2.txt", "1.000000e+000", 1, "0", {"1", "2", "3"});
  WriteBytes(dir / "a2_2.txt", "");  // an empty file: event 2 is named, not written
  WriteBytes(dir / "notes.txt", "x");
  ASSERT_EQ(EventLinking(ws, dir.path(), progress, host), CalcStatus::kDone);
  EXPECT_EQ(Names(dir / "convData"), std::vector<std::string>{"00000001.txt"});
  ASSERT_EQ(host.messages.size(), 2u);
  const std::string& skipped = host.messages[0];
  EXPECT_EQ(skipped.rfind("Skipped 3 files:", 0), 0u) << skipped;
  for (const char* name : {"a24_1.txt", "a2_2.txt", "notes.txt"})
    EXPECT_NE(skipped.find(dir / name), std::string::npos) << name << "\n" << skipped;
  const std::string& notes = host.messages[1];
  EXPECT_NE(notes.find((dir / "a2_1.txt") + ": cut from 4 to the first file's 3 samples."),
            std::string::npos)
      << notes;
  EXPECT_NE(notes.find("the delay of channel 2 (9 rows) leaves it all zeros"), std::string::npos)
      << notes;

  // Strict: the first such file stops the run.
  host.messages.clear();
  ws.strict = true;
  EXPECT_EQ(EventLinking(ws, dir.path(), progress, host), CalcStatus::kRefused);
  ASSERT_EQ(host.messages.size(), 1u);
}

TEST_F(CollectionOperatorsTest, EventLinkingRefusesWithoutAFirstFileOrWithTooManySamples) {
  WriteWave(dir / "a2_1.txt", "1.000000e+000", 2, "1", {"1"});
  EXPECT_EQ(EventLinking(ws, dir.path(), progress, host), CalcStatus::kRefused);
  WriteWave(dir / "a1_1.txt", "1.000000e+000", 1, "1",
            std::vector<std::string>(MAX_SAMPLES + 1, "1"));
  EXPECT_EQ(EventLinking(ws, dir.path(), progress, host), CalcStatus::kRefused);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1],
            "Sampling size of 16385 exceeds program limit of 16384!\n" + (dir / "a1_1.txt"));
  EXPECT_FALSE(Exists(dir / "convData"));
}

TEST_F(CollectionOperatorsTest, EventLinkingStopsBetweenEventsKeepingWholeTablesOnly) {
  for (const char* name : {"a1_1.txt", "a1_2.txt", "a1_3.txt"})
    WriteWave(dir / name, "1.000000e+000", 1, "1", {"1", "2", "3"});
  StoppingProgress stop(1);
  EXPECT_EQ(EventLinking(ws, dir.path(), stop, host), CalcStatus::kStopped);
  EXPECT_EQ(Names(dir / "convData"), std::vector<std::string>{"00000001.txt"});
}

TEST(EventNameTest, PadsToEightDigits) {
  EXPECT_EQ(EventName(1), "00000001");
  EXPECT_EQ(EventName(17), "00000017");
  EXPECT_EQ(EventName(123456789), "123456789");
}

// ---- Split

TEST_F(CollectionOperatorsTest, SplitWritesOneWaveformPerColumnNamedBeforeTheFirstDot) {
  WriteBytes(dir / "table.v2.txt", "0.0\t1.0\t2.0\t\r\n1.0e-6\t3.0\t4.0\t\r\n");
  ASSERT_EQ(Split(ws, dir.path(), progress, host), CalcStatus::kDone);
  EXPECT_EQ(Names(dir / "convData"), (std::vector<std::string>{"table_1.txt", "table_2.txt"}));
  EXPECT_EQ(ReadBytes(ConvData("table_1.txt")),
            Crlf("SOURCE FILE NAME: -/-\nDATE:\tdefault\nTIME:\t0\n"
                 "SAMPLE INTERVAL (Seconds):   1.000000e-006\nUNITS:\tdefault\n"
                 "CHANNEL NUMBER:\t1\nHIT NUMBER: -/-\nTIME OF TEST:\t0.000000e+000\n\n"
                 "1.000000e+000\n3.000000e+000\n"));
  EXPECT_NE(ReadBytes(ConvData("table_2.txt")).find(Crlf("CHANNEL NUMBER:\t2\n")),
            std::string::npos);
  EXPECT_NE(ReadBytes(ConvData("table_2.txt")).find(Crlf("\n\n2.000000e+000\n4.000000e+000\n")),
            std::string::npos);
}

TEST_F(CollectionOperatorsTest, SplitNeedsADelimiterAfterTheLastValue) {
  WriteBytes(dir / "t.txt", "0.0\t1.0\t2.0\r\n1.0\t3.0\t4.0\r\n");
  ASSERT_EQ(Split(ws, dir.path(), progress, host), CalcStatus::kDone);
  EXPECT_EQ(Names(dir / "convData"), std::vector<std::string>{"t_1.txt"});
}

TEST_F(CollectionOperatorsTest,
       SplitSkipsTablesWithoutAnIntervalOrWithATakenNameAndCutsAShortLine) {
  WriteBytes(dir / "a.x.txt", "0\t1\t2\t\n1\t3\t4\t\n2\t5\t\n");  // a short last line
  WriteBytes(dir / "a.y.txt", "0\t7\t\n1\t8\t\n");                // would write a_1.txt again
  WriteBytes(dir / "one.txt", "0\t7\t\n");                        // one line: no interval
  WriteBytes(dir / "same.txt", "1\t7\t\n1\t8\t\n");               // equal times
  WriteBytes(dir / "down.txt", "2\t7\t\n1\t8\t\n");               // decreasing times
  ASSERT_EQ(Split(ws, dir.path(), progress, host), CalcStatus::kDone);
  EXPECT_EQ(Names(dir / "convData"), (std::vector<std::string>{"a_1.txt", "a_2.txt"}));
  // The full lines of a.x.txt are written: two samples per channel.
  const std::string a2 = ReadBytes(ConvData("a_2.txt"));
  EXPECT_NE(a2.find("\r\n\r\n2.000000e+000\r\n4.000000e+000\r\n"), std::string::npos) << a2;
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].rfind("Skipped 4 files:", 0), 0u) << host.messages[0];
  for (const char* name : {"a.y.txt", "one.txt", "same.txt", "down.txt"})
    EXPECT_NE(host.messages[0].find(dir / name), std::string::npos) << name;
  EXPECT_NE(host.messages[1].find((dir / "a.x.txt") + ": line 3 holds fewer fields"),
            std::string::npos)
      << host.messages[1];
}

TEST_F(CollectionOperatorsTest, SplitRefusesTablesBeyondItsLimits) {
  std::string wide = "0";
  for (int i = 0; i <= kMaxTableFields; ++i) wide += "\t1";
  WriteBytes(dir / "wide.txt", wide + "\n");
  EXPECT_EQ(Split(ws, dir.path(), progress, host), CalcStatus::kRefused);
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"Table size of 1 lines and 16385 fields exceeds program "
                                     "limit of 16384 lines and 16384 fields!\n" +
                                     (dir / "wide.txt")});
  EXPECT_EQ(Names(dir / "convData"), std::vector<std::string>{});
}

}  // namespace
}  // namespace plexo
