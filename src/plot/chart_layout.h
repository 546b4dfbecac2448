#pragma once
// Where an interactive chart's panels sit in a window of a given size, which ranges they show,
// and what lies under a point: the part of the chart window that is arithmetic, shared by the
// drawing (chart_render.h) and the window's mouse handling.
#include <optional>
#include <string>
#include <vector>

#include "plot/chart_axes.h"
#include "plot/chart_data.h"

namespace plexo {

// The ranges shown: the shared horizontal one and each panel's vertical one.
struct ChartView {
  AxisRange x;
  std::vector<AxisRange> y;
  bool operator==(const ChartView&) const = default;
};

// The whole chart.
ChartView WholeChart(const ChartData& chart);

struct PixelRect {
  double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
  bool Contains(double x, double y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
};

struct PanelLayout {
  PixelRect area;  // the plot area inside the axes
  AxisPixels x;
  AxisPixels y;
};

struct ChartLayout {
  double scale = 1.0;  // pixels per logical pixel (the screen's device pixel ratio)
  double width = 0.0;
  double height = 0.0;
  std::vector<PanelLayout> panels;
  PixelRect colour_bar;  // empty without a map
};

// The layout for a window of width x height pixels; margins and text grow with `scale`.
ChartLayout LayOutChart(const ChartData& chart, const ChartView& view, double width, double height,
                        double scale = 1.0);

// The panel whose plot area holds the point, if any.
std::optional<int> PanelAt(const ChartLayout& layout, double x, double y);

// The status line for the point: on a line graph the point of the data nearest to it ("time
// 1.5e-05 s   amplitude 0.25 V"), on a map the time and frequency under it and the value of
// its cell ("... coefficient 3.2"); empty outside the plot areas.
std::string ChartReadout(const ChartData& chart, const ChartLayout& layout, double x, double y);

// The view after a wheel turn at the point: both axes of the panel there (the horizontal one
// for every panel) zoomed by `factor` about the point, kept inside the whole chart.
ChartView ZoomedAt(const ChartData& chart, const ChartView& view, const ChartLayout& layout,
                   double x, double y, double factor);

// The view of a rectangle dragged from one point to another inside one panel; the view
// unchanged when the rectangle is smaller than 4 pixels either way or leaves the panel's start.
ChartView ZoomedToRectangle(const ChartData& chart, const ChartView& view,
                            const ChartLayout& layout, double x0, double y0, double x1, double y1);

// The view dragged by (dx, dy) pixels in the panel at the point where the drag began.
ChartView Panned(const ChartData& chart, const ChartView& view, const ChartLayout& layout,
                 double at_x, double at_y, double dx, double dy);

// "time [s]", "amplitude" without a unit.
std::string AxisTitle(const ChartQuantity& quantity);

}  // namespace plexo
