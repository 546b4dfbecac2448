#include "signal/csv_text.h"

#include <gtest/gtest.h>

namespace plexo {
namespace {

struct FieldCase {
  const char* text;
  const char* field;
};

class CsvFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(CsvFieldTest, QuotesOnlyWhatWouldSplitTheField) {
  std::string out = "x,";
  AppendCsvField(out, GetParam().text);
  EXPECT_EQ(out, std::string("x,") + GetParam().field);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CsvFieldTest,
    ::testing::Values(FieldCase{"", ""}, FieldCase{"plain name.txt", "plain name.txt"},
                      FieldCase{"tab\tand;semi", "tab\tand;semi"},
                      FieldCase{"-1.500000e+000", "-1.500000e+000"}, FieldCase{"a,b", "\"a,b\""},
                      FieldCase{"say \"hi\"", "\"say \"\"hi\"\"\""}, FieldCase{"\"", "\"\"\"\""},
                      FieldCase{"cr\rhere", "\"cr\rhere\""},
                      FieldCase{"lf\nhere", "\"lf\nhere\""}));

TEST(CsvTitleTest, UnitInBracketsOrTheTitleAlone) {
  EXPECT_EQ(CsvColumnTitle("signal energy", "J"), "signal energy [J]");
  EXPECT_EQ(CsvColumnTitle("file name", ""), "file name");
  EXPECT_STREQ(TableExtension(TableFormat::kText), ".txt");
  EXPECT_STREQ(TableExtension(TableFormat::kCsv), ".csv");
}

}  // namespace
}  // namespace plexo
