#include "platform/job_count.h"

#include <gtest/gtest.h>

#include <thread>

namespace plexo {
namespace {

TEST(JobCount, ARequestStandsAndZeroOrLessMeansEveryCore) {
  const unsigned reported = std::thread::hardware_concurrency();
  const int cores = reported > 0 ? static_cast<int>(reported) : 1;
  EXPECT_EQ(CoreCount(), cores);
  for (int requested : {0, -1, -1000}) EXPECT_EQ(JobCount(requested), cores) << requested;
  for (int requested : {1, 2, 7, 1000}) EXPECT_EQ(JobCount(requested), requested);
}

}  // namespace
}  // namespace plexo
