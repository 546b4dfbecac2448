#include "plot/charts.h"

#include <opencv2/imgproc.hpp>

#include "plot/chart_style.h"

namespace plexo {
namespace {

// Resizes the plot into the display image; an empty plot leaves the display white.
void ResizeInto(const cv::Mat& plot, cv::Mat& display, int interpolation) {
  if (plot.empty() || plot.cols == 0 || plot.rows == 0) return;
  cv::resize(plot, display, display.size(), 0, 0, interpolation);
}

}  // namespace

cv::Mat MakeSpectrumChart(cv::Mat& plot, double highest_frequency, double largest,
                          const std::string& amplitude_unit) {
  cv::Mat display(300, 800, CV_8UC3, kWhite);
  if (!plot.empty()) cv::flip(plot, plot, 0);
  ResizeInto(plot, display, cv::INTER_AREA);

  cv::line(display, {0, 298}, {800, 298}, kAxisGrey, 1, cv::LINE_8);
  for (int x = 0; x <= 780; x += 20) cv::line(display, {x, 300}, {x, 296}, kAxisGrey, 1, cv::LINE_8);
  cv::line(display, {2, 0}, {2, 300}, kAxisGrey, 1, cv::LINE_8);
  for (int y = 0; y <= 280; y += 20) cv::line(display, {0, y}, {4, y}, kAxisGrey, 1, cv::LINE_8);

  DrawChartText(display, "frequency[" + DivisionText(highest_frequency / 40.0) + "Hz/DIV]",
                {610, 288}, kAxisGrey);
  DrawChartText(display, "FFT-amplitude[" + DivisionText(largest / 15.0) + amplitude_unit, {8, 20},
                kAxisGrey);
  return display;
}

}  // namespace plexo
