#include "timefreq/cwt_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace plexo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct GridCase {
  const char* name;
  TftRequest request;
  double fileDt;
  // Expected values; only checked when `problem` is empty.
  double dt;
  long long first;
  long long columns;
  double freqStep;
  long long lines;
  const char* problem;
};

void PrintTo(const GridCase& c, std::ostream* os) { *os << c.name; }

// The request of the file-grid examples: window 0 .. 4e-4 s at 1e-7 s, 0 .. 1 MHz.
TftRequest Base() {
  TftRequest r;
  r.timeStart = 0.0;
  r.timeEnd = 4e-4;
  r.timeRes = 1e-7;
  r.freqStart = 0.0;
  r.freqEnd = 1e6;
  r.freqRes = 1e4;
  return r;
}

template <typename Change>
TftRequest With(Change change) {
  TftRequest r = Base();
  change(r);
  return r;
}

class CwtGridCases : public ::testing::TestWithParam<GridCase> {};

TEST_P(CwtGridCases, DerivesTheGridOrRefusesIt) {
  const GridCase& c = GetParam();
  const CwtGrid grid = CwtGridOf(c.request, c.fileDt);
  EXPECT_EQ(CwtGridProblem(grid), c.problem);
  if (std::string(c.problem).empty()) {
    EXPECT_EQ(grid.dt, c.dt);
    EXPECT_EQ(grid.first, c.first);
    EXPECT_EQ(grid.columns, c.columns);
    EXPECT_EQ(grid.freqStep, c.freqStep);
    EXPECT_EQ(grid.lines, c.lines);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CwtGridCases,
    ::testing::Values(
        GridCase{"four_thousand_columns", Base(), 5e-8, 1e-7, 0, 4000, 1e4, 101, ""},
        GridCase{"auto_time_takes_the_file_interval",
                 With([](TftRequest& r) { r.autoTimeRes = true; }), 2e-7, 2e-7, 0, 2000, 1e4, 101,
                 ""},
        GridCase{"auto_frequency_hundred_lines", With([](TftRequest& r) { r.autoFreqRes = true; }),
                 0, 1e-7, 0, 4000, 1e4, 100, ""},
        GridCase{"start_does_not_shift_the_grid", With([](TftRequest& r) { r.freqStart = 1e5; }), 0,
                 1e-7, 0, 4000, 1e4, 91, ""},
        GridCase{"window_from_ten_microseconds", With([](TftRequest& r) { r.timeStart = 1e-5; }), 0,
                 1e-7, 100, 3900, 1e4, 101, ""},
        GridCase{"negative_start", With([](TftRequest& r) { r.timeStart = -1e-5; }), 0, 1e-7, -100,
                 4100, 1e4, 101, ""},
        GridCase{"span_below_one_step_gives_one_line", With([](TftRequest& r) { r.freqEnd = 5e3; }),
                 0, 1e-7, 0, 4000, 1e4, 1, ""},
        GridCase{"widest_window", With([](TftRequest& r) { r.timeEnd = 16383.5e-7; }), 0, 1e-7, 0,
                 16383, 1e4, 101, ""},
        GridCase{"most_rows", With([](TftRequest& r) { r.freqEnd = 511e4; }), 0, 1e-7, 0, 4000, 1e4,
                 512, ""},
        GridCase{"time_resolution_zero", With([](TftRequest& r) { r.timeRes = 0.0; }), 0, 0, 0, 0,
                 0, 0, "Time resolution of 0.000000e+000 s is not allowed! Value has to be > 0!"},
        GridCase{"time_resolution_nan", With([](TftRequest& r) { r.timeRes = kNaN; }), 0, 0, 0, 0,
                 0, 0, "Time resolution of nan s is not allowed! Value has to be > 0!"},
        GridCase{"file_without_interval", With([](TftRequest& r) { r.autoTimeRes = true; }), 0.0, 0,
                 0, 0, 0, 0,
                 "Time resolution of 0.000000e+000 s is not allowed! Value has to be > 0!"},
        GridCase{"negative_frequency_step", With([](TftRequest& r) { r.freqRes = -1e4; }), 0, 0, 0,
                 0, 0, 0,
                 "Frequency resolution of -1.000000e+004 Hz is not allowed! Value has to be > 0!"},
        GridCase{"auto_frequency_without_span", With([](TftRequest& r) {
                   r.autoFreqRes = true;
                   r.freqEnd = 0.0;
                 }),
                 0, 0, 0, 0, 0, 0,
                 "Frequency resolution of 0.000000e+000 Hz is not allowed! Value has to be > 0!"},
        GridCase{"empty_window", With([](TftRequest& r) { r.timeEnd = 0.0; }), 0, 0, 0, 0, 0, 0,
                 "Time window holds no samples! Please check consistence!"},
        GridCase{"reversed_window", With([](TftRequest& r) { r.timeStart = 5e-4; }), 0, 0, 0, 0, 0,
                 0, "Time window holds no samples! Please check consistence!"},
        GridCase{"window_bound_nan", With([](TftRequest& r) { r.timeEnd = kNaN; }), 0, 0, 0, 0, 0,
                 0, "Time window holds no samples! Please check consistence!"},
        GridCase{"window_wider_than_the_matrix",
                 With([](TftRequest& r) { r.timeEnd = 16384.5e-7; }), 0, 0, 0, 0, 0, 0,
                 "Time window of 16384 samples exceeds program limit of 16383!"},
        GridCase{"window_far_too_wide",
                 With([](TftRequest& r) { r.timeEnd = std::numeric_limits<double>::infinity(); }),
                 0, 0, 0, 0, 0, 0,
                 "Time window of 2147483647 samples exceeds program limit of 16383!"},
        GridCase{"more_rows_than_the_matrix", With([](TftRequest& r) { r.freqEnd = 512e4; }), 0, 0,
                 0, 0, 0, 0, "Frequency grid of 512 rows exceeds program limit of 511!"},
        GridCase{"reversed_frequency_span", With([](TftRequest& r) { r.freqEnd = -2e4; }), 0, 0, 0,
                 0, 0, 0, "Frequency grid holds no rows! Please check consistence!"}),
    [](const ::testing::TestParamInfo<GridCase>& info) { return std::string(info.param.name); });

TEST(CwtGrid, RowFrequenciesStartAtTheStep) {
  CwtGrid grid = CwtGridOf(Base(), 0.0);
  EXPECT_EQ(grid.ComputedRows(), 100);
  grid.lines = 1;
  EXPECT_EQ(grid.ComputedRows(), 0);
  grid.lines = -4;
  EXPECT_EQ(grid.ComputedRows(), 0);
}

}  // namespace
}  // namespace plexo
