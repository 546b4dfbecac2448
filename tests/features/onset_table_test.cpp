// The onsets file: the text it is written as, a round trip, what a hand-edited file may look
// like, and the files the reader refuses, each named with its line.
#include "features/onset_table.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::TempDir;
using testing::WriteBytes;

const std::string kHeader =
    "file name\tautomatic onset\tautomatic arrival time\tcorrected onset\tcorrected arrival "
    "time\tstate\t\n\tsample\ts\tsample\ts\t\t\n";

TEST(OnsetTableTest, WritesTheLayoutOfTheFeatureTable) {
  OnsetTable table;
  ASSERT_TRUE(table.Add(AutomaticOnsetRow("hit_001.txt", 117, 1e-7, 2.5)));
  OnsetRow corrected = AutomaticOnsetRow("hit_002.txt", 0, 2e-7, 0.0);
  corrected.correctedSample = 40;
  corrected.correctedTime = 40 * 2e-7;
  corrected.state = OnsetState::kCorrected;
  ASSERT_TRUE(table.Add(corrected));
  EXPECT_FALSE(table.Add(AutomaticOnsetRow("hit_001.txt", 3, 1e-7, 0.0)));  // listed already
  EXPECT_EQ(OnsetTableText(table),
            kHeader +
                "hit_001.txt\t117\t2.50001170000000e+000\t117\t2.50001170000000e+000\tautomatic\t\n"
                "hit_002.txt\t0\t0.00000000000000e+000\t40\t8.00000000000000e-006\tcorrected\t\n");
  table.database = true;
  EXPECT_EQ(OnsetTableText(table).substr(0, 5), "TRAI\t");
}

TEST(OnsetTableTest, ArrivalTimeIsOnsetPlusTimeOfTest) {
  // As the feature run adds them: the onset (sample times dt) first, then the time of test.
  const double dt = 1e-7, tot = 123.456789;
  EXPECT_EQ(OnsetArrivalTime(333, dt, tot), 333 * dt + tot);
  EXPECT_EQ(AutomaticOnsetRow("a", 333, dt, tot).correctedTime, 333 * dt + tot);
}

TEST(OnsetTableTest, ReadsBackWhatItWrites) {
  TempDir dir;
  OnsetTable table;
  table.database = true;
  for (int i = 0; i < 5; ++i) table.Add(AutomaticOnsetRow(std::to_string(i + 1), i * 7, 1e-7, i));
  table.Row(2).state = OnsetState::kRejected;
  table.Row(3).correctedSample = 99;
  table.Row(3).correctedTime = 3.0000099;
  table.Row(3).state = OnsetState::kCorrected;
  // The file as the writer puts it on disk: CR LF.
  std::string text = OnsetTableText(table), crlf;
  for (char ch : text) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  WriteBytes(dir / "Onsets.txt", crlf);
  OnsetTable back;
  std::string why;
  ASSERT_TRUE(ReadOnsetTable(dir / "Onsets.txt", back, why)) << why;
  EXPECT_TRUE(back.database);
  EXPECT_EQ(back.Rows(), table.Rows());
  EXPECT_EQ(OnsetTableText(back), text);
  ASSERT_NE(back.Find("4"), nullptr);
  EXPECT_EQ(back.Find("4")->correctedSample, 99);
  EXPECT_EQ(back.Find("6"), nullptr);
}

TEST(OnsetTableTest, AcceptsAHandEditedFile) {
  TempDir dir;
  // LF line ends, the last tab dropped on some lines, a state in capitals, a blank line, a
  // sample written as 1.2e2, and a corrected sample changed while the state says automatic.
  WriteBytes(dir / "Onsets.txt",
             "file name\tautomatic onset\tautomatic arrival time\tcorrected onset\tcorrected "
             "arrival time\tstate\n"
             "\tsample\ts\tsample\ts\t\n"
             "a.txt\t10\t1.0e-6\t10\t1.0e-6\tREJECTED\n"
             "\n"
             "b.txt\t20\t2.0e-6\t1.2e2\t2.0e-6\tautomatic\t\n"
             "c d.txt\t30\t3.0e-6\t30\t3.0e-6\t Corrected \t\n");
  OnsetTable table;
  std::string why;
  ASSERT_TRUE(ReadOnsetTable(dir / "Onsets.txt", table, why)) << why;
  ASSERT_EQ(table.Count(), 3);
  EXPECT_EQ(table.Rows()[0].state, OnsetState::kRejected);
  EXPECT_EQ(table.Rows()[1].correctedSample, 120);
  EXPECT_EQ(table.Rows()[1].state, OnsetState::kCorrected);
  EXPECT_EQ(table.Rows()[2].name, "c d.txt");
  EXPECT_EQ(table.Rows()[2].state, OnsetState::kCorrected);
  EXPECT_FALSE(table.database);
}

struct RefusalCase {
  const char* name;
  std::string text;  // written as the file; nullptr-like "<none>" for no file
  std::string why;   // the reason, after "PATH: "
};

class OnsetTableRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(OnsetTableRefusalTest, NamesTheFileAndTheLine) {
  const RefusalCase& c = GetParam();
  TempDir dir;
  const std::string path = dir / "Onsets.txt";
  if (c.text != "<none>") WriteBytes(path, c.text);
  OnsetTable table;
  table.Add(AutomaticOnsetRow("left over", 1, 1.0, 0.0));
  std::string why;
  EXPECT_FALSE(ReadOnsetTable(path, table, why));
  EXPECT_EQ(why.substr(0, path.size() + 2), path + ": ");
  EXPECT_NE(why.find(c.why), std::string::npos) << why;
  EXPECT_EQ(table.Count(), 0);  // nothing half read
}

const std::string kRow = "a.txt\t10\t1e-6\t10\t1e-6\tautomatic\t\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, OnsetTableRefusalTest,
    ::testing::Values(
        RefusalCase{"Missing", "<none>", "No such file"},
        RefusalCase{"Empty", "", "the file is empty"},
        RefusalCase{"FeatureTable", "file name\tarrival time\t\n\ts\t\n", "line 1: not the header"},
        RefusalCase{"NoUnitsLine",
                    "file name\tautomatic onset\tautomatic arrival time\tcorrected onset\t"
                    "corrected arrival time\tstate\t\n" +
                        kRow,
                    "line 2: not the units line"},
        RefusalCase{"FiveCells", kHeader + kRow + "b.txt\t10\t1e-6\t10\t1e-6\t\n",
                    "line 4: a row has 6 cells"},
        RefusalCase{"NegativeSample", kHeader + "a.txt\t10\t1e-6\t-3\t1e-6\tcorrected\t\n",
                    "line 3: corrected onset -3 is not a sample number"},
        RefusalCase{"FractionalSample", kHeader + "a.txt\t10.5\t1e-6\t10\t1e-6\tautomatic\t\n",
                    "line 3: automatic onset 10.5 is not a sample number"},
        RefusalCase{"TimeNotANumber", kHeader + "a.txt\t10\t1e-6\t10\tsoon\tcorrected\t\n",
                    "line 3: corrected arrival time soon is not a number"},
        RefusalCase{"UnknownState", kHeader + "a.txt\t10\t1e-6\t10\t1e-6\tmaybe\t\n",
                    "line 3: state maybe is not one of automatic, corrected, rejected"},
        RefusalCase{"EmptyName", kHeader + "\t10\t1e-6\t10\t1e-6\tautomatic\t\n",
                    "line 3: the name is empty"},
        RefusalCase{"NameTwice", kHeader + kRow + "\n" + kRow,
                    "line 5: a.txt is listed twice (first on line 3)"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plexo
