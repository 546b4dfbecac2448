#pragma once
// A known chart for the chart window's tests: 101 samples 1 us apart, sample i at
// (i - 50) / 100 volts, so that 0 .. 100 us carry -0.5 .. 0.5 V.
#include <vector>

#include "plot/chart_data.h"

namespace plexo::testing {

struct RampChart {
  std::vector<double> samples;
  ChartData chart;
  RampChart() : samples(101) {
    for (int i = 0; i <= 100; ++i) samples[i] = (i - 50) / 100.0;
    const ChartLine line{{samples.data()}, 101, nullptr, 0.0, 1e-6};
    chart = TimeChart(1e-4, {SignalPanel(line, 0.5, " volts")});
  }
  RampChart(const RampChart&) = delete;  // the chart points into the samples
  RampChart& operator=(const RampChart&) = delete;
};

}  // namespace plexo::testing
