#pragma once
// Drawing an interactive chart at any range and size: numbered ticks on both axes, the axis
// titles with their units, line graphs drawn from their points and maps from their cells (so
// a zoomed chart is sharp, not magnified pixels), and a map's colour bar. The preview image
// files have a look of their own (charts.h); this is the window's.
#include <opencv2/core.hpp>

#include "plot/chart_layout.h"

namespace plexo {

// The chart for a window of width x height logical pixels drawn at `scale` pixels per logical
// pixel (the screen's device pixel ratio): an image of round(width*scale) x round(height*scale)
// (BGR), laid out as LayOutChart(chart, view, width*scale, height*scale, scale).
cv::Mat RenderChart(const ChartData& chart, const ChartView& view, int width, int height,
                    double scale = 1.0);

}  // namespace plexo
