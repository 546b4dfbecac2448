#include "platform/file_filter.h"

#include <gtest/gtest.h>

namespace plexo {
namespace {

TEST(FileFilterTest, SplitsDescriptionsAndPatterns) {
  auto one = ParseFileFilter("ASCII-waveform(*.txt)|*.txt||");
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].description, "ASCII-waveform(*.txt)");
  EXPECT_EQ(one[0].patterns, std::vector<std::string>{"*.txt"});

  auto two = ParseFileFilter("Text|*.txt; *.dat|All files|*.*||");
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0].patterns, (std::vector<std::string>{"*.txt", "*.dat"}));
  EXPECT_EQ(two[1].description, "All files");
  EXPECT_EQ(two[1].patterns, std::vector<std::string>{"*.*"});

  // No closing "||", a description without patterns, nothing at all.
  EXPECT_EQ(ParseFileFilter("Ini|*.ini").size(), 1u);
  EXPECT_TRUE(ParseFileFilter("Ini||").empty());
  EXPECT_TRUE(ParseFileFilter("").empty());
}

}  // namespace
}  // namespace plexo
