// The two localisation listings converted into x, y, z, t tables.
#include "ascii_ops/location_conversion.h"

#include <gtest/gtest.h>

#include "ascii_test_files.h"
#include "platform/recording_host.h"

namespace plexo {
namespace {

using testing::Crlf;
using testing::Exists;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// The time line of the first listing: seconds in columns 1 to 11, milliseconds in 13 to 15.
constexpr const char* kAewinTime = " 00012.34567 250 rest of the line";  // 12.34567 + 0.250 s

struct AewinCase {
  const char* name;
  const char* eventLine;
  const char* table;  // the expected output line, or "" when refused
};

class AewinListing : public ::testing::TestWithParam<AewinCase> {};

TEST_P(AewinListing, CoordinatesComeFromTheirPositionsAfterBlanksAreRemoved) {
  const AewinCase& c = GetParam();
  NullProgress progress;
  const LocationListing out = ConvertAewinListing({"header", c.eventLine, kAewinTime}, progress);
  if (*c.table == '\0') {
    EXPECT_EQ(out.status, CalcStatus::kRefused);
  } else {
    EXPECT_EQ(out.status, CalcStatus::kDone);
    EXPECT_EQ(out.table, std::string(c.table) + "\t1.259567e+001\n");
    EXPECT_EQ(out.positions, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, AewinListing,
    ::testing::Values(
        // The value before the next letter loses its last character (here the ";").
        AewinCase{"XYZ", "Gp#1 x=12.5; y=-3.25; z=7 d=1", "12.5\t-3.25;\t7"},
        AewinCase{"XYOnly", "Gp#1 x=12.5; y=-3.25; d=1", "12.5\t-3.25;\t0"},
        AewinCase{"XZOnly", "Gp#1 x=1.5; z=2.5; d=1", "1.5\t0\t2.5;"},
        AewinCase{"YZOnly", "Gp#1 y=1.5; z=2.5; d=1", "0\t1.5\t2.5;"},
        AewinCase{"NoXNoZ", "Gp#1 y=1.5; d=1", ""}, AewinCase{"OnlyX", "Gp#1 x=1.5; d=1", ""},
        // Without a separator x loses its digit; without "d" z has no length; letters out of
        // order give empty texts or run on: positions outside the line never read past it.
        AewinCase{"NoD", "Gp#1 x=1 y=2 z=3", "\t2\t"},
        AewinCase{"Reversed", "Gp#1 z=3 y=2 x=1 d", "\t\t3y=2x=1"},
        AewinCase{"LettersAtTheEnd", "Gp#zyx", "\t\t"}),
    [](const ::testing::TestParamInfo<AewinCase>& info) { return info.param.name; });

TEST(AewinListingFlow, EachEventTakesTheTimeOfTheNextOtherLine) {
  NullProgress progress;
  const LocationListing out = ConvertAewinListing(
      {" 00001.00000 000 before any event", "Gp#1 x=1; y=2; d", "Gp#2 x=3; y=4; d",
       " 00002.00000 500", " 00003.00000 000 no event pending", "Gp#3 x=5; y=6; d", "",
       "Gp#4 x=7; y=8; d"},
      progress);
  EXPECT_EQ(out.table,
            "3\t4;\t0\t2.500000e+000\n"
            "5\t6;\t0\t0.000000e+000\n");
  EXPECT_EQ(out.positions, 2);
}

TEST(VisualAeListing, TimeOfDayAndBlankSeparatedCoordinates) {
  NullProgress progress;
  // Columns: "LE" at 0, the time from 13, the coordinates from 30.
  const std::string prefix = "LE   1       01:02:03.004005  ";
  ASSERT_EQ(prefix.size(), 30u);
  const LocationListing out = ConvertVisualAeListing(
      {"header line", prefix + "  12.5  -3.25   7.0", prefix + "1 2", prefix + "1 2 3 4  5",
       " LE not at the start", prefix + "solo", "LE short"},
      progress);
  EXPECT_EQ(out.table,
            "12.5\t-3.25\t7.0\t3.723004e+003\n"
            "1\t2\t0\t3.723004e+003\n"
            "1\t2\t3 4  5\t3.723004e+003\n"
            "solo\t\t0\t3.723004e+003\n"
            "\t\t0\t0.000000e+000\n");
  EXPECT_EQ(out.positions, 5);
}

TEST(VisualAeListing, MicrosecondsFollowTheMilliseconds) {
  NullProgress progress;
  const LocationListing out =
      ConvertVisualAeListing({"LE           23:59:59.999999  1 2 3"}, progress);
  // 86399.999999 s
  EXPECT_EQ(out.table, "1\t2\t3\t8.640000e+004\n");
}

struct PathCase {
  const char* input;
  const char* output;
};

TEST(LocationTablePathTest, CutsAtTheLastDotOfTheFileName) {
  for (const PathCase& c : {PathCase{"/d/run.07.txt", "/d/run.07_DV-compatibel.dat"},
                            PathCase{"/d/run.txt", "/d/run_DV-compatibel.dat"},
                            PathCase{"/d.x/run", "/d.x/run_DV-compatibel.dat"},
                            PathCase{"run", "run_DV-compatibel.dat"}})
    EXPECT_EQ(LocationTablePath(c.input), c.output);
}

TEST(ConvertLocationsTest, WritesBesideTheInputAndCountsThePositions) {
  TempDir dir;
  WriteBytes(dir / "run.07.txt",
             "LE   1       00:00:01.500000  1 2 3\r\nLE   2       00:00:02.000000  4 5\r\n");
  RecordingHost host;
  NullProgress progress;
  EXPECT_EQ(ConvertVisualAeLocations(dir / "run.07.txt", progress, host), CalcStatus::kDone);
  EXPECT_EQ(ReadBytes(dir / "run.07_DV-compatibel.dat"),
            Crlf("1\t2\t3\t1.500000e+000\n4\t5\t0\t2.000000e+000\n"));
  EXPECT_EQ(host.messages, std::vector<std::string>{"2 localized source positions found."});
}

TEST(ConvertLocationsTest, TooFewCoordinatesOrAMissingListingWriteNothing) {
  TempDir dir;
  WriteBytes(dir / "a.txt", "Gp#1 x=1; y=2; d\n 00001.00000 000\nGp#2 y=1 d\n 1\n");
  RecordingHost host;
  NullProgress progress;
  EXPECT_EQ(ConvertAewinLocations(dir / "a.txt", progress, host), CalcStatus::kRefused);
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"At least two-dimensional localisation data are necessary!"});
  EXPECT_FALSE(Exists(dir / "a_DV-compatibel.dat"));
  host.messages.clear();
  EXPECT_EQ(ConvertAewinLocations(dir / "none.txt", progress, host), CalcStatus::kFailed);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(Exists(dir / "none_DV-compatibel.dat"));
}

// The newer layouts: coordinates as "x,y,z = a, b, c" lists, or a tab-separated table found by
// its titles; every field is checked and the first bad line named.
TEST(ConvertLocationsTest, RealListingsInTheirNewerLayouts) {
  const std::string root = PLEXO_REALDATA_DIR;
  const std::string aewin = root + "/aewin594-location-express8/1-event.TXT";
  const std::string visualae = root + "/visualae-listing-c103/c-103-1.txt";
  if (!Exists(aewin) || !Exists(visualae)) GTEST_SKIP() << "no real listings in " << root;
  std::vector<std::string> lines;
  NullProgress progress;
  ASSERT_TRUE(ReadTextLines(aewin, lines));
  LocationListing out = ConvertAewinListing(lines, progress);
  EXPECT_EQ(out.status, CalcStatus::kDone) << out.problem;
  EXPECT_EQ(out.positions, 8);
  EXPECT_EQ(out.table.substr(0, out.table.find('\n')), "-8.996\t14.46\t18.98\t1082.6430145");
  ASSERT_TRUE(ReadTextLines(visualae, lines));
  out = ConvertVisualAeListing(lines, progress);
  EXPECT_EQ(out.status, CalcStatus::kRefused);
  EXPECT_EQ(out.positions, 0);
  EXPECT_NE(out.problem.find("no column X, Y"), std::string::npos) << out.problem;
}

TEST(NewerListingLayouts, AewinListsAndTheirFaults) {
  NullProgress progress;
  const std::string hit = "*           1082.6430145   1     1    11";
  LocationListing out =
      ConvertAewinListing({"header", "* Gp# 1[1,3] x,y,z = -8.996, 14.46, 18.98, q = 1 dT[9, 23]",
                           hit, "*           1082.6430235   3",
                           "* Gp# 2[1,3] x,y = 1.5, -2, q = 1 dT[3]", "*   17.0000001   1"},
                          progress);
  EXPECT_EQ(out.status, CalcStatus::kDone) << out.problem;
  EXPECT_EQ(out.table, "-8.996\t14.46\t18.98\t1082.6430145\n1.5\t-2\t0\t17.0000001\n");

  struct Bad {
    std::vector<std::string> lines;
    const char* problem;
  };
  for (const Bad& bad :
       {Bad{{"* Gp# 1 x,y,z = 1, 2, q = 1", hit}, "line 1: z is not a number (\"q = 1\")"},
        Bad{{"* Gp# 1 x,y,z = 1, 2", hit}, "line 1: fewer values"},
        Bad{{"* Gp# 1 x,y,z = 1, b, 3, q", hit}, "line 1: y is not a number (\"b\")"},
        Bad{{"* Gp# 1 x,y = 1, 2, q", "* Gp# 2 x,y = 1, 2, q", hit}, "line 1: an event without"},
        Bad{{"h", "* Gp# 1 x,y = 1, 2, q"}, "line 2: an event without"},
        Bad{{"* Gp# 1 x,y = 1, 2, q", "*  12:30  1"}, "line 2: the hit line does not start"},
        Bad{{"* Gp# 1 x,y = 1, 2, q", hit, "* Gp# 2 dT[1]", hit},
            "line 3: an event line without"}}) {
    out = ConvertAewinListing(bad.lines, progress);
    EXPECT_EQ(out.status, CalcStatus::kRefused) << bad.problem;
    EXPECT_EQ(out.positions, 0);
    EXPECT_EQ(out.problem.rfind(bad.problem, 0), 0u) << out.problem;
  }
}

TEST(NewerListingLayouts, VisualAeTableByTitles) {
  NullProgress progress;
  const std::string titles = "\xEF\xBB\xBFId\t  DSET\t  HHMMSS\t    MSEC\t   X\t   Y\t  Z\t   A";
  const std::string units = "  \t      \t[hhmmss]\t[ms]\t[mm]\t[mm]\t[mm]\t[dB]";
  LocationListing out =
      ConvertVisualAeListing({titles, units, "Ht\t  1\t10:29:28\t451,5600\t  1\t  2\t  3\t40,4",
                              "LE\t  1188\t10:30:41\t422,2204\t 12,5\t -3,25\t 7\t63,7",
                              "LE\t  1189\t00:00:01\t   0,0001\t 1\t 2\t \t63,7"},
                             progress);
  // A blank Z is no number: the second event refuses the listing.
  EXPECT_EQ(out.status, CalcStatus::kRefused);
  EXPECT_EQ(out.problem, "line 5: Z is not a number (\"\")");

  out = ConvertVisualAeListing(
      {titles, units, "LE\t  1188\t10:30:41\t422,2204\t 12,5\t -3,25\t 7\t63,7",
       "Ev\t 5\t10:30:41\t1,0\t x\t y\t z\t1", "LE\t  1189\t00:00:01\t0,0001\t 1\t 2\t 0\t1"},
      progress);
  EXPECT_EQ(out.status, CalcStatus::kDone) << out.problem;
  EXPECT_EQ(out.table, "12.5\t-3.25\t7\t37841.4222204\n1\t2\t0\t1.0000001\n");

  out = ConvertVisualAeListing({titles, "LE\t 1\t10:30\t1,0\t1\t2\t3\t1"}, progress);
  EXPECT_EQ(out.problem, "line 2: HHMMSS and MSEC are not a time (\"10:30\", \"1,0\")");
  out = ConvertVisualAeListing({titles, "LE\t 1\t10:30:00"}, progress);
  EXPECT_EQ(out.problem, "line 2: fewer fields than the title line");
}

TEST(ConvertLocationsTest, ARefusedListingNamesTheFileAndTheLineAndWritesNothing) {
  TempDir dir;
  WriteBytes(dir / "e.txt", "* Gp# 1 x,y = 1, oops, q\r\n*  1.5  1\r\n");
  RecordingHost host;
  NullProgress progress;
  EXPECT_EQ(ConvertAewinLocations(dir / "e.txt", progress, host), CalcStatus::kRefused);
  EXPECT_EQ(host.messages,
            std::vector<std::string>{dir / "e.txt" + ": line 1: y is not a number (\"oops\")"});
  EXPECT_FALSE(Exists(dir / "e_DV-compatibel.dat"));
}

}  // namespace
}  // namespace plexo
