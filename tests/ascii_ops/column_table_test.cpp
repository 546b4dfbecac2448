// How Split's reader takes a delimited table apart.
#include "ascii_ops/column_table.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::TempDir;
using testing::WriteBytes;

struct TableCase {
  const char* name;
  const char* text;
  int lines;
  int columns;
  double interval;
  std::vector<std::vector<double>> values;  // fields 1, 2, ... of each line
};

class ReadColumnTableTest : public ::testing::TestWithParam<TableCase> {};

TEST_P(ReadColumnTableTest, FieldsFollowThePerLineDelimiter) {
  const TableCase& c = GetParam();
  TempDir dir;
  WriteBytes(dir / "t.txt", c.text);
  ColumnTable table;
  EXPECT_EQ(ReadColumnTable(dir / "t.txt", table), c.lines);
  EXPECT_EQ(table.columnCount, c.columns);
  EXPECT_DOUBLE_EQ(table.sampleInterval, c.interval);
  for (size_t i = 0; i < c.values.size(); ++i) {
    for (size_t k = 0; k < c.values[i].size(); ++k) {
      EXPECT_EQ(table.Value(static_cast<int>(i), static_cast<int>(k) + 1), c.values[i][k])
          << "line " << i << " field " << k + 1;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ReadColumnTableTest,
    ::testing::Values(
        TableCase{"TrailingTab", "0.0\t1.0\t2.0\t\n0.5\t3\t4\t\n", 2, 2, 0.5, {{1, 2}, {3, 4}}},
        TableCase{"NoTrailingTab", "0.0\t1.0\t2.0\r\n0.5\t3\t4\r\n", 2, 1, 0.5, {{1}, {3}}},
        // A field after the first starts with its "," or ";", which is not part of the number.
        TableCase{"Comma", "0.0,1.0,2.0,\n2.0,3.0,4.0,\n", 2, 2, 2.0, {{1, 2}, {3, 4}}},
        TableCase{"Semicolon", "1;7;\n3;8;\n", 2, 1, 2.0, {{7}, {8}}},
        // Decimal commas where the comma does not separate the fields.
        TableCase{
            "SemicolonWithDecimalCommas", "0;1,5;\n0,25;-2,5e-1;\n", 2, 1, 0.25, {{1.5}, {-0.25}}},
        // A tab wins over a comma (decimal commas in a tab table); blanks before a number are
        // skipped.
        TableCase{"TabOverComma", "0\t1,5\t 2\t\n1\t3\t4\t\n", 2, 2, 1.0, {{1.5, 2}, {3, 4}}},
        // A line without a delimiter keeps the previous one's; the count comes from the last
        // line, the interval from the first two.
        TableCase{"LastLineCounts", "0\t1\t2\t3\t\n1\t4\t\n9 9\n", 3, -1, 1.0, {{1, 2, 3}, {4}}},
        // Missing fields read as 0.
        TableCase{"ShortLine", "0\t1\t\n1\t2\t3\t\n", 2, 2, 1.0, {{1, 0}, {2, 3}}},
        TableCase{"Empty", "", 0, -1, 0.0, {}}),
    [](const ::testing::TestParamInfo<TableCase>& info) { return info.param.name; });

// A field that is not one finite number refuses the table, naming the line and the field.
class ReadColumnTableRefusal
    : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(ReadColumnTableRefusal, NamesTheLineAndTheField) {
  TempDir dir;
  WriteBytes(dir / "t.txt", GetParam().first);
  ColumnTable table;
  EXPECT_EQ(ReadColumnTable(dir / "t.txt", table), -1);
  EXPECT_NE(table.problem.find(GetParam().second), std::string::npos) << table.problem;
  EXPECT_NE(table.problem.find(dir / "t.txt"), std::string::npos) << table.problem;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ReadColumnTableRefusal,
    ::testing::Values(std::make_pair("0\t1\t\n1\tabc\t\n", "Field 2 \"\tabc\" on line 2 "),
                      std::make_pair("0\t1\t\n1\t\t2\t\n", "Field 2 \"\t\" on line 2 "),
                      std::make_pair("0,1,\n1,nan,\n", "Field 2 \",nan\" on line 2 "),
                      std::make_pair("x;1;\n", "Field 1 \"x\" on line 1 "),
                      std::make_pair("0;1,5x;\n", "on line 1 ")));

TEST(ReadColumnTableFailure, AMissingFileOrAFolderIsNoTable) {
  TempDir dir;
  ColumnTable table;
  EXPECT_EQ(ReadColumnTable(dir / "none.txt", table), -1);
  EXPECT_EQ(ReadColumnTable(dir.path(), table), -1);
  EXPECT_EQ(table.columnCount, 0);
}

}  // namespace
}  // namespace plexo
