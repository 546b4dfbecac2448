#include "platform/readme_location.h"

#include <gtest/gtest.h>

namespace plexo {
namespace {

TEST(ReadmeLocation, TheInstalledCopyFirstThenTheSources) {
  EXPECT_EQ(ReadmeCandidates("/usr/bin", "/src/plexo/README.md"),
            (std::vector<std::string>{"/usr/share/doc/plexo/README.md", "/src/plexo/README.md"}));
  EXPECT_EQ(ReadmeCandidates("/home/u/inst/bin", ""),
            (std::vector<std::string>{"/home/u/inst/share/doc/plexo/README.md"}));
  // A program right under the root, and a folder given without any "/".
  EXPECT_EQ(ReadmeCandidates("/bin", ""), (std::vector<std::string>{"/share/doc/plexo/README.md"}));
  EXPECT_EQ(ReadmeCandidates("bin", "/src/README.md"),
            (std::vector<std::string>{"/src/README.md"}));
  // The test program runs from the build tree: the README of these sources is found.
  const std::optional<std::string> found = FindReadme();
  ASSERT_TRUE(found);
  EXPECT_EQ(found->substr(found->size() - 9), "README.md");
}

}  // namespace
}  // namespace plexo
