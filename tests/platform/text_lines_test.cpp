#include "platform/text_lines.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace plexo {
namespace {

struct SplitCase {
  const char* name;
  std::string text;
  std::vector<std::string> lines;
};

class LineSplitting : public ::testing::TestWithParam<SplitCase> {};

TEST_P(LineSplitting, GivesTheLinesGetlineGives) {
  LineSplitter splitter(GetParam().text);
  std::vector<std::string> lines;
  std::string_view line;
  while (splitter.Next(line)) lines.emplace_back(line);
  EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LineSplitting,
    ::testing::Values(SplitCase{"Empty", "", {}}, SplitCase{"OneLineNoEnd", "a", {"a"}},
                      SplitCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
                      SplitCase{"LfNoFinalEnd", "a\nb", {"a", "b"}},
                      SplitCase{"BlankLines", "\n\r\n\n", {"", "", ""}},
                      SplitCase{"OnlyOneCrDropped", "a\r\r\nb\r", {"a\r", "b"}},
                      SplitCase{"LoneCrIsText", "a\rb\n", {"a\rb"}},
                      SplitCase{"NulKept", std::string("a\0b\n", 4), {std::string("a\0b", 3)}}),
    [](const auto& info) { return info.param.name; });

TEST(ReadWholeFile, ReadsRegularFilesAndRefusesTheRest) {
  testing::TempDir dir;
  FileBytes bytes;
  testing::WriteBytes(dir.File("a.txt"), "1\r\n2\r\n");
  ASSERT_EQ(ReadWholeFile(dir.File("a.txt"), bytes), kFileRead);
  EXPECT_EQ(bytes.Text(), "1\r\n2\r\n");
  // The buffer is reused for a smaller file and grown for a larger one.
  testing::WriteBytes(dir.File("b.txt"), "x");
  ASSERT_EQ(ReadWholeFile(dir.File("b.txt"), bytes), kFileRead);
  EXPECT_EQ(bytes.Text(), "x");
  const std::string large(300000, '7');
  testing::WriteBytes(dir.File("c.txt"), large);
  ASSERT_EQ(ReadWholeFile(dir.File("c.txt"), bytes), kFileRead);
  EXPECT_EQ(bytes.Text(), large);
  testing::WriteBytes(dir.File("empty.txt"), "");
  ASSERT_EQ(ReadWholeFile(dir.File("empty.txt"), bytes), kFileRead);
  EXPECT_TRUE(bytes.Text().empty());

  EXPECT_EQ(ReadWholeFile(dir.File("missing.txt"), bytes), kFileNotOpened);
  EXPECT_EQ(ReadWholeFile(dir.path(), bytes), kFileNotOpened);
  // A pipe without a writer would block a plain open; it is refused at once.
  ASSERT_EQ(mkfifo(dir.File("pipe.txt").c_str(), 0600), 0);
  EXPECT_EQ(ReadWholeFile(dir.File("pipe.txt"), bytes), kFileNotOpened);
}

TEST(ReadWholeFile, MapsLargeFiles) {
  testing::TempDir dir;
  const std::string path = dir.File("large.txt");
  testing::WriteBytes(path, "head\n");
  // A sparse file: no disk space used, the rest reads as zeros.
  ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(kMapFileBytes) + 3), 0);
  FileBytes bytes;
  ASSERT_EQ(ReadWholeFile(path, bytes), kFileRead);
  ASSERT_EQ(bytes.Text().size(), kMapFileBytes + 3);
  EXPECT_EQ(bytes.Text().substr(0, 5), "head\n");
  EXPECT_EQ(bytes.Text().back(), '\0');
  testing::WriteBytes(dir.File("small.txt"), "s");
  ASSERT_EQ(ReadWholeFile(dir.File("small.txt"), bytes), kFileRead);
  EXPECT_EQ(bytes.Text(), "s");
}

}  // namespace
}  // namespace plexo
