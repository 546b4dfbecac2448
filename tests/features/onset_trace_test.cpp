// The picker's characteristic function as the review shows it: the criterion of every split
// against the textbook formula written out plainly (feature_reference.h), the pick the feature
// run makes, and the waveforms whose pick cannot mean anything.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "feature_reference.h"
#include "feature_test_data.h"
#include "features/time_features.h"

namespace plexo {
namespace {

std::vector<Complex> AsComplex(const std::vector<double>& x) {
  std::vector<Complex> c(x.size());
  for (size_t i = 0; i < x.size(); ++i) c[i] = {x[i], 0.0};
  return c;
}

TEST(OnsetTraceTest, CriterionOfEverySplitIsTheTextbookOne) {
  for (uint32_t seed : {1u, 2u, 3u}) {
    const std::vector<double> x =
        testing::BurstSamples(1500, 400 + 150 * seed, 2e5, 5e5, 1e-7, seed);
    const std::vector<Complex> c = AsComplex(x);
    const OnsetTrace trace = TraceOnsetAIC(c.data(), static_cast<int>(c.size()));
    const testing::ReferenceAic plain = testing::ReferenceAicTrace(x);
    ASSERT_EQ(trace.peak, plain.peak);
    ASSERT_EQ(trace.aic.size(), plain.aic.size());
    for (size_t j = 0; j < plain.aic.size(); ++j)
      ASSERT_EQ(trace.aic[j], plain.aic[j]) << "split " << j << " seed " << seed;
    EXPECT_EQ(trace.pick, plain.pick);
    EXPECT_EQ(trace.problem, OnsetTraceProblem::kNone);
    // The burst starts near its onset sample; the pick lies within a few samples of it.
    EXPECT_NEAR(trace.pick, 400 + 150 * seed, 5);
    // The feature run's pick is the trace's, to the bit.
    const double dt = 1e-7;
    EXPECT_EQ(PickOnsetAIC(c.data(), static_cast<int>(c.size()), dt), trace.pick * dt);
  }
}

struct ProblemCase {
  const char* name;
  std::vector<double> samples;
  OnsetTraceProblem problem;
  int peak;
};

class OnsetTraceProblemTest : public ::testing::TestWithParam<ProblemCase> {};

TEST_P(OnsetTraceProblemTest, SaysWhyThePickMeansNothing) {
  const ProblemCase& c = GetParam();
  const std::vector<Complex> x = AsComplex(c.samples);
  const OnsetTrace trace = TraceOnsetAIC(x.data(), static_cast<int>(x.size()));
  EXPECT_EQ(trace.problem, c.problem);
  EXPECT_EQ(trace.peak, c.peak);
  EXPECT_EQ(trace.aic.size(), static_cast<size_t>(c.peak));
  EXPECT_EQ(trace.pick, 0);
  EXPECT_EQ(PickOnsetAIC(x.data(), static_cast<int>(x.size()), 1e-7), 0.0);
  EXPECT_FALSE(OnsetTraceNote(c.problem).empty());
}

std::vector<double> Scaled(std::vector<double> x, double factor) {
  for (double& v : x) v *= factor;
  return x;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OnsetTraceProblemTest,
    ::testing::Values(
        ProblemCase{"AllZero", std::vector<double>(50, 0.0), OnsetTraceProblem::kNoPreTrigger, 0},
        ProblemCase{"PeakFirst", {3.0, 1.0, -2.0, 0.5}, OnsetTraceProblem::kNoPreTrigger, 0},
        ProblemCase{"PeakAtSampleOne", {0.0, 2.0, 1.0, -1.5}, OnsetTraceProblem::kTooShort, 1},
        ProblemCase{"VariancesAboveOne",
                    Scaled(testing::BurstSamples(800, 300, 2e5, 5e5, 1e-7, 4, 0.05), 1e4),
                    OnsetTraceProblem::kNoNegative,
                    testing::ReferenceAicTrace(
                        Scaled(testing::BurstSamples(800, 300, 2e5, 5e5, 1e-7, 4, 0.05), 1e4))
                        .peak}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OnsetTraceTest, EveryProblemHasItsOwnSentence) {
  EXPECT_TRUE(OnsetTraceNote(OnsetTraceProblem::kNone).empty());
  const std::vector<std::string> notes{OnsetTraceNote(OnsetTraceProblem::kNoPreTrigger),
                                       OnsetTraceNote(OnsetTraceProblem::kTooShort),
                                       OnsetTraceNote(OnsetTraceProblem::kConstant),
                                       OnsetTraceNote(OnsetTraceProblem::kNoNegative)};
  for (size_t i = 0; i < notes.size(); ++i)
    for (size_t j = i + 1; j < notes.size(); ++j) EXPECT_NE(notes[i], notes[j]);
  EXPECT_NE(notes[1].find("too short"), std::string::npos);
  EXPECT_NE(notes[2].find("onstant"), std::string::npos);
}

}  // namespace
}  // namespace plexo
