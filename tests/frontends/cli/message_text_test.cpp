// The pieces of the command line's messages that are not seen whole through the program: the
// nearest name for a mistyped one, and the prefix on lines written in pieces and from threads.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <thread>
#include <vector>

#include "frontends/cli/message_prefix.h"
#include "frontends/cli/usage_errors.h"

namespace plexo::cli {
namespace {

TEST(NearestName, CountsEditsAndTakesOnlyNearNames) {
  EXPECT_EQ(EditDistance("strat", "start"), 1u);  // a swap is one edit
  EXPECT_EQ(EditDistance("kitten", "sitting"), 3u);
  EXPECT_EQ(EditDistance("", "abc"), 3u);
  EXPECT_EQ(EditDistance("abc", "abc"), 0u);
  const std::vector<std::string> options = {"--time-start", "--time-end", "--jobs", "-j", "-q"};
  EXPECT_EQ(NearestName("--time-strat", options), "--time-start");
  EXPECT_EQ(NearestName("--time-ned", options), "--time-end");
  EXPECT_EQ(NearestName("--job", options), "--jobs");
  EXPECT_EQ(NearestName("--zzzzzz", options), "");
  EXPECT_EQ(NearestName("-x", options), "");            // one letter: every short option is "near"
  EXPECT_EQ(NearestName("--time-start", options), "");  // not unknown at all
}

// Replaces std::cerr's target for the test and gives back what reached it.
class CapturedErrors {
 public:
  CapturedErrors() : previous_(std::cerr.rdbuf(text_.rdbuf())) {}
  ~CapturedErrors() { std::cerr.rdbuf(previous_); }
  std::string Text() const { return text_.str(); }

 private:
  std::ostringstream text_;
  std::streambuf* previous_;
};

TEST(MessagePrefix, StartsEveryLineOnceAndLeavesEmptyLinesAlone) {
  CapturedErrors captured;
  {
    const MessagePrefix prefix;
    const MessagePrefix nested;  // installed once only
    std::cerr << "first " << 1 << " piece";
    std::cerr << " and the rest\nsecond\n\nthird" << std::endl;
  }
  std::cerr << "after\n";
  EXPECT_EQ(captured.Text(),
            "plexo: first 1 piece and the rest\nplexo: second\n\nplexo: third\nafter\n");
}

TEST(MessagePrefix, LinesFromSeveralThreadsEachGetOnePrefix) {
  CapturedErrors captured;
  {
    const MessagePrefix prefix;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
      threads.emplace_back([] {
        for (int i = 0; i < 200; ++i) std::cerr << "line\n";
      });
    }
    for (std::thread& thread : threads) thread.join();
  }
  std::istringstream lines(captured.Text());
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count) ASSERT_EQ(line, "plexo: line");
  EXPECT_EQ(count, 800);
}

}  // namespace
}  // namespace plexo::cli
