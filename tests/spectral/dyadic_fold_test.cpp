// The fixed-tree fold: whatever runs of blocks it is pushed in, the total is the tree's.
#include "spectral/dyadic_fold.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace plexo {
namespace {

// Values of very different sizes, so that the order of the additions shows in the last bits.
std::vector<double> Values(int n) {
  std::vector<double> v(static_cast<size_t>(n));
  for (int k = 0; k < n; ++k)
    v[k] = ((k % 7) - 3) * std::pow(10.0, (k * 37) % 17 - 8) + 1.0 / (k + 3);
  return v;
}

// The tree as defined: node (level, index) is its left child plus its right child, or its left
// child alone when the right one starts past the last block.
double Tree(const std::vector<double>& v, int level, int64_t index) {
  if (level == 0) return v[static_cast<size_t>(index)];
  const double left = Tree(v, level - 1, 2 * index);
  if (((2 * index + 1) << (level - 1)) >= static_cast<int64_t>(v.size())) return left;
  return left + Tree(v, level - 1, 2 * index + 1);
}

double TreeTotal(const std::vector<double>& v) {
  int level = 0;
  while ((int64_t{1} << level) < static_cast<int64_t>(v.size())) ++level;
  return Tree(v, level, 0);
}

DyadicFold<double> MakeFold() {
  return DyadicFold<double>([](double& left, const double& right) { left += right; });
}

// Folds v in the runs that start at `cuts` (ascending, the first 0), then their nodes in order.
double FoldInRuns(const std::vector<double>& v, std::vector<int> cuts) {
  cuts.push_back(static_cast<int>(v.size()));
  DyadicFold<double> total = MakeFold();
  for (size_t r = 0; r + 1 < cuts.size(); ++r) {
    DyadicFold<double> run = MakeFold();
    for (int k = cuts[r]; k < cuts[r + 1]; ++k) run.Push(0, k, v[k]);
    for (auto& node : run.Nodes()) total.Push(node.level, node.index, node.value);
  }
  return total.Finish();
}

class DyadicFoldTest : public ::testing::TestWithParam<int> {};

TEST_P(DyadicFoldTest, EveryRunSplitGivesTheTreeTotal) {
  const int n = GetParam();
  const std::vector<double> v = Values(n);
  const double expected = TreeTotal(v);
  EXPECT_EQ(FoldInRuns(v, {0}), expected);
  for (int a = 1; a < n; ++a) {
    EXPECT_EQ(FoldInRuns(v, {0, a}), expected) << "split at " << a;
    for (int b = a + 1; b < n; b += 3) EXPECT_EQ(FoldInRuns(v, {0, a, b}), expected) << a << b;
  }
  std::vector<int> singles;
  for (int k = 0; k < n; ++k) singles.push_back(k);
  EXPECT_EQ(FoldInRuns(v, singles), expected);
}

INSTANTIATE_TEST_SUITE_P(BlockCounts, DyadicFoldTest,
                         ::testing::Values(1, 2, 3, 5, 8, 13, 16, 17, 31, 45, 64, 70));

TEST(DyadicFold, TheOrderShowsInTheseValues) {
  // Else the test above could not tell a tree from a running sum.
  const std::vector<double> v = Values(45);
  double running = 0.0;
  for (double x : v) running += x;
  EXPECT_NE(running, TreeTotal(v));
}

TEST(DyadicFold, NothingPushedIsEmpty) { EXPECT_EQ(MakeFold().Finish(), 0.0); }

}  // namespace
}  // namespace plexo
