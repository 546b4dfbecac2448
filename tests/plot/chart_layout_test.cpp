// The chart window's arithmetic on known charts: what the status line says under a point, and
// which ranges a wheel turn, a dragged rectangle and a pan give.
#include "plot/chart_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "plot/chart_render.h"
#include "plot/chart_style.h"
#include "plot/matrix_paint.h"
#include "support/ramp_chart.h"

namespace plexo {
namespace {

using Ramp = plexo::testing::RampChart;

// A 4 x 5 map, cell (r, c) = 10 r + c, columns 1 us and rows 1 kHz wide, rows stored 8 apart;
// above it a strip of the same 5 us.
struct Cells {
  std::vector<double> values;
  std::vector<double> strip{0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
  ChartData chart;
  Cells() : values(4 * 8, -1.0) {
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 5; ++c) values[r * 8 + c] = 10 * r + c;
    const ChartMap map{{values.data()}, 4, 5, 8, 1e-6, 1000.0, 34.0};
    const ChartLine line{{strip.data()}, 6, nullptr, 0.0, 1e-6};
    chart = TimeChart(5e-6, {MapPanel(map, "WT-coefficient"), SignalPanel(line, 0.6, "V")});
  }
};

struct Point {
  double x, y;
};

// The pixel of a chart point in panel `panel`.
Point PixelOf(const ChartLayout& layout, int panel, double x, double y) {
  return {layout.panels[panel].x.Pixel(x), layout.panels[panel].y.Pixel(y)};
}

TEST(ChartReadoutTest, ALineGraphReadsTheNearestSampleFromTheData) {
  const Ramp ramp;
  const ChartLayout layout = LayOutChart(ramp.chart, WholeChart(ramp.chart), 800, 400);
  // Near sample 40, at a height the graph does not pass: the sample's own value is read.
  const Point p = PixelOf(layout, 0, 40.2e-6, 0.3);
  EXPECT_EQ(ChartReadout(ramp.chart, layout, p.x, p.y), "time 4e-05 s   amplitude -0.1 volts");
  const Point end = PixelOf(layout, 0, 99.9e-6, 0.0);
  EXPECT_EQ(ChartReadout(ramp.chart, layout, end.x, end.y), "time 0.0001 s   amplitude 0.5 volts");
  EXPECT_EQ(ChartReadout(ramp.chart, layout, 2.0, 2.0), "") << "outside the plot area";
}

TEST(ChartReadoutTest, ASpectrumWithItsOwnFrequenciesReadsTheNearestBin) {
  const std::vector<double> frequencies{0.0, 1000.0, 3000.0, 7000.0};
  const std::vector<Complex> bins{{1, 0}, {3, 4}, {0, 2}, {0, 0}};
  const ChartLine line{{nullptr, bins.data(), ChartValues::Part::kModulus}, 4, frequencies.data()};
  const ChartData chart = FrequencyChart(7000.0, {SpectrumPanel(line, 5.0, "V")});
  const ChartLayout layout = LayOutChart(chart, WholeChart(chart), 600, 300);
  const Point p = PixelOf(layout, 0, 1900.0, 1.0);
  EXPECT_EQ(ChartReadout(chart, layout, p.x, p.y), "frequency 1000 Hz   magnitude 5 V");
  const Point q = PixelOf(layout, 0, 2100.0, 1.0);
  EXPECT_EQ(ChartReadout(chart, layout, q.x, q.y), "frequency 3000 Hz   magnitude 2 V");
}

TEST(ChartReadoutTest, AMapReadsTimeFrequencyAndTheCellsValue) {
  const Cells cells;
  const ChartLayout layout = LayOutChart(cells.chart, WholeChart(cells.chart), 800, 600);
  const Point p = PixelOf(layout, 0, 2.5e-6, 1500.0);
  EXPECT_EQ(ChartReadout(cells.chart, layout, p.x, p.y),
            "time 2.5e-06 s   frequency 1500 Hz   WT-coefficient 12");
  const Point top = PixelOf(layout, 0, 4.75e-6, 3900.0);
  EXPECT_EQ(ChartReadout(cells.chart, layout, top.x, top.y),
            "time 4.75e-06 s   frequency 3900 Hz   WT-coefficient 34");
  // The strip below reads its own samples on the same time axis.
  const Point strip = PixelOf(layout, 1, 3.1e-6, 0.0);
  EXPECT_EQ(ChartReadout(cells.chart, layout, strip.x, strip.y), "time 3e-06 s   amplitude 0.4 V");
}

TEST(ChartZoomTest, AWheelTurnZoomsAboutThePointOnBothAxes) {
  const Ramp ramp;
  const ChartView whole = WholeChart(ramp.chart);
  const ChartLayout layout = LayOutChart(ramp.chart, whole, 800, 400);
  const Point p = PixelOf(layout, 0, 50e-6, 0.0);
  const ChartView zoomed = ZoomedAt(ramp.chart, whole, layout, p.x, p.y, 0.5);
  EXPECT_NEAR(zoomed.x.low, 25e-6, 1e-12);
  EXPECT_NEAR(zoomed.x.high, 75e-6, 1e-12);
  EXPECT_NEAR(zoomed.y[0].low, -0.2625, 1e-9);  // half of +-0.525
  EXPECT_NEAR(zoomed.y[0].high, 0.2625, 1e-9);
  // Zooming out again stops at the whole chart.
  const ChartView out = ZoomedAt(ramp.chart, zoomed, layout, p.x, p.y, 8.0);
  EXPECT_EQ(out, whole);
}

TEST(ChartZoomTest, ADraggedRectangleBecomesTheRangeOfItsPanelOnly) {
  const Cells cells;
  const ChartView whole = WholeChart(cells.chart);
  const ChartLayout layout = LayOutChart(cells.chart, whole, 800, 600);
  const Point from = PixelOf(layout, 0, 1e-6, 3000.0);
  const Point to = PixelOf(layout, 0, 3e-6, 1000.0);
  const ChartView zoomed =
      ZoomedToRectangle(cells.chart, whole, layout, from.x, from.y, to.x, to.y);
  EXPECT_NEAR(zoomed.x.low, 1e-6, 1e-15);
  EXPECT_NEAR(zoomed.x.high, 3e-6, 1e-15);
  EXPECT_NEAR(zoomed.y[0].low, 1000.0, 1e-9);
  EXPECT_NEAR(zoomed.y[0].high, 3000.0, 1e-9);
  EXPECT_EQ(zoomed.y[1], whole.y[1]) << "the strip keeps its amplitudes";
  // A click (no rectangle) and a drag from outside the plot areas leave the view alone.
  EXPECT_EQ(ZoomedToRectangle(cells.chart, whole, layout, from.x, from.y, from.x + 2, to.y), whole);
  EXPECT_EQ(ZoomedToRectangle(cells.chart, whole, layout, 1.0, 1.0, to.x, to.y), whole);
}

TEST(ChartZoomTest, PanningMovesTheRangeAgainstTheDragWithinTheChart) {
  const Ramp ramp;
  ChartView view = WholeChart(ramp.chart);
  view.x = {40e-6, 60e-6};
  const ChartLayout layout = LayOutChart(ramp.chart, view, 800, 400);
  const double pixels_per_us = (layout.panels[0].area.right - layout.panels[0].area.left) / 20.0;
  const Point p = PixelOf(layout, 0, 50e-6, 0.0);
  // Dragged 5 us to the right: what lay 5 us left of the view comes into it.
  const ChartView panned = Panned(ramp.chart, view, layout, p.x, p.y, 5 * pixels_per_us, 0.0);
  EXPECT_NEAR(panned.x.low, 35e-6, 1e-12);
  EXPECT_NEAR(panned.x.high, 55e-6, 1e-12);
  const ChartView far = Panned(ramp.chart, view, layout, p.x, p.y, 100 * pixels_per_us, 0.0);
  EXPECT_NEAR(far.x.low, 0.0, 1e-12);
  EXPECT_NEAR(far.x.high, 20e-6, 1e-12);
}

// The colour of the map at a chart point, as drawn.
cv::Vec3b DrawnAt(const cv::Mat& image, const ChartLayout& layout, double x, double y) {
  const Point p = PixelOf(layout, 0, x, y);
  return image.at<cv::Vec3b>(static_cast<int>(p.y), static_cast<int>(p.x));
}

TEST(ChartRenderTest, AZoomedMapIsRedrawnFromItsCells) {
  const Cells cells;
  ChartView view = WholeChart(cells.chart);
  const cv::Mat whole = RenderChart(cells.chart, view, 800, 600);
  const ChartLayout layout = LayOutChart(cells.chart, view, 800, 600);
  ASSERT_EQ(whole.size(), cv::Size(800, 600));
  const auto colour = [](double v) { return ColourOf(ColourIndexOf(v, 34.0)); };
  EXPECT_EQ(DrawnAt(whole, layout, 2.5e-6, 1500.0), colour(12.0));
  EXPECT_EQ(DrawnAt(whole, layout, 0.5e-6, 3500.0), colour(30.0));
  // Zoomed into cell (1, 2) alone: the whole plot area is that cell, not magnified pixels of
  // its neighbours.
  view.x = {2.1e-6, 2.9e-6};
  view.y[0] = {1100.0, 1900.0};
  const cv::Mat zoomed = RenderChart(cells.chart, view, 800, 600);
  const ChartLayout zoomed_layout = LayOutChart(cells.chart, view, 800, 600);
  for (double x : {2.11e-6, 2.5e-6, 2.89e-6})
    for (double y : {1110.0, 1500.0, 1890.0})
      EXPECT_EQ(DrawnAt(zoomed, zoomed_layout, x, y), colour(12.0)) << x << " " << y;
}

TEST(ChartRenderTest, TheLineRunsThroughTheSamplesAndScalesWithTheScreen) {
  const Ramp ramp;
  const ChartView view = WholeChart(ramp.chart);
  for (double scale : {1.0, 1.5, 2.0}) {
    const cv::Mat image = RenderChart(ramp.chart, view, 800, 400, scale);
    ASSERT_EQ(image.size(), cv::Size(static_cast<int>(800 * scale), static_cast<int>(400 * scale)));
    const ChartLayout layout = LayOutChart(ramp.chart, view, image.cols, image.rows, scale);
    for (int i : {10, 50, 77}) {
      const Point p = PixelOf(layout, 0, i * 1e-6, ramp.samples[i]);
      // The reddest pixel next to the point (the line is drawn smoothed).
      int green = 255;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const cv::Vec3b drawn = image.at<cv::Vec3b>(static_cast<int>(std::lround(p.y)) + dy,
                                                      static_cast<int>(std::lround(p.x)) + dx);
          if (drawn[2] > 200) green = std::min<int>(green, drawn[1]);
        }
      EXPECT_LT(green, 100) << "red at sample " << i << ", scale " << scale;
    }
  }
}

}  // namespace
}  // namespace plexo
