#include "plot/charts.h"

#include <opencv2/imgproc.hpp>

#include "plot/chart_style.h"
#include "plot/matrix_paint.h"

namespace plexo {
namespace {

// Resizes the plot into the display image; an empty plot leaves the display white.
void ResizeInto(const cv::Mat& plot, cv::Mat& display, int interpolation) {
  if (plot.empty()) return;
  cv::resize(plot, display, display.size(), 0, 0, interpolation);
}

void FlipVertically(cv::Mat& plot) {
  if (!plot.empty()) cv::flip(plot, plot, 0);
}

void Line(cv::Mat& image, cv::Point from, cv::Point to, const cv::Scalar& colour) {
  cv::line(image, from, to, colour, 1, cv::LINE_8);
}

// A horizontal axis at row y with ticks from (x, y_low) to (x, y_high) every 20 pixels up to 780,
// and a vertical axis at column x with ticks from (x_left, y) to (x_right, y) every 20 pixels.
struct AxesLayout {
  int horizontal_y, tick_from_y, tick_to_y;
  int vertical_x, vertical_end_y, tick_from_x, tick_to_x, last_tick_y;
};

void DrawAxes(cv::Mat& image, const AxesLayout& a, const cv::Scalar& colour) {
  Line(image, {0, a.horizontal_y}, {800, a.horizontal_y}, colour);
  for (int x = 0; x <= 780; x += 20) Line(image, {x, a.tick_from_y}, {x, a.tick_to_y}, colour);
  Line(image, {a.vertical_x, 0}, {a.vertical_x, a.vertical_end_y}, colour);
  for (int y = 0; y <= a.last_tick_y; y += 20)
    Line(image, {a.tick_from_x, y}, {a.tick_to_x, y}, colour);
}

std::string WithoutLeadingBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  return first == std::string::npos ? std::string() : text.substr(first);
}

std::string TimeLabel(double time_span) {
  return "time[" + DivisionText(time_span / 40.0) + "s/DIV]";
}

void DrawColourBar(cv::Mat& display, double largest, ColourBarTitle title) {
  if (title == ColourBarTitle::kWavelet)
    DrawChartText(display, "WT-coefficients", {695, 15}, kWhite);
  else
    DrawChartText(display, "SPWVD-coefficients", {670, 15}, kWhite);
  cv::rectangle(display, cv::Point(699, 19), cv::Point(796, 284), kWhite, cv::FILLED, cv::LINE_8);
  for (int i = 0; i <= 255; ++i) {
    const cv::Vec3b colour = ColourOf(i);
    Line(display, {700, i + 22}, {720, i + 22}, cv::Scalar(colour[0], colour[1], colour[2]));
  }
  for (int i = 0; i <= 250; i += 50)
    DrawChartText(display, DivisionText(i * largest / 255.0), {724, 279 - i}, kBlack);
}

}  // namespace

cv::Mat MakeSignalChart(cv::Mat& plot, double time_span, double largest, const std::string& units) {
  cv::Mat display(200, 800, CV_8UC3, kWhite);
  ResizeInto(plot, display, cv::INTER_AREA);
  DrawAxes(display, {100, 104, 96, 50, 200, 46, 54, 180}, kAxisGrey);
  DrawChartText(display, TimeLabel(time_span), {650, 90}, kAxisGrey);
  DrawChartText(display,
                "amplitude[" + DivisionText(largest / 5.0) + WithoutLeadingBlanks(units) + "/DIV]",
                {55, 20}, kAxisGrey);
  return display;
}

cv::Mat MakeSpectrumChart(cv::Mat& plot, double highest_frequency, double largest,
                          const std::string& amplitude_unit) {
  cv::Mat display(300, 800, CV_8UC3, kWhite);
  FlipVertically(plot);
  ResizeInto(plot, display, cv::INTER_AREA);
  DrawAxes(display, {298, 300, 296, 2, 300, 0, 4, 280}, kAxisGrey);
  DrawChartText(display, "frequency[" + DivisionText(highest_frequency / 40.0) + "Hz/DIV]",
                {610, 288}, kAxisGrey);
  DrawChartText(display, "FFT-amplitude[" + DivisionText(largest / 15.0) + amplitude_unit, {8, 20},
                kAxisGrey);
  return display;
}

cv::Mat MakeTimeFrequencyChart(cv::Mat& plot, double time_span, double frequency_span,
                               double largest, ColourBarTitle title) {
  cv::Mat display(600, 800, CV_8UC3, kWhite);
  FlipVertically(plot);
  ResizeInto(plot, display, cv::INTER_CUBIC);
  DrawAxes(display, {596, 598, 594, 4, 600, 2, 6, 580}, kWhite);
  DrawChartText(display, TimeLabel(time_span), {650, 590}, kWhite);
  DrawChartText(display, "frequency[" + DivisionText(frequency_span / 30.0) + "Hz/DIV]", {20, 20},
                kWhite);
  DrawColourBar(display, largest, title);
  return display;
}

cv::Mat MakeSignalStrip(cv::Mat& plot, double time_span, double largest, const std::string& units) {
  cv::Mat display(100, 800, CV_8UC3, kWhite);
  ResizeInto(plot, display, cv::INTER_AREA);
  DrawAxes(display, {50, 54, 46, 4, 200, 2, 6, 180}, kAxisGrey);
  DrawChartText(display, TimeLabel(time_span), {650, 90}, kAxisGrey);
  DrawChartText(
      display,
      "amplitude[" + DivisionText(largest / 5.0) + " " + WithoutLeadingBlanks(units) + "/DIV]",
      {20, 20}, kAxisGrey);
  return display;
}

cv::Mat MakePreviewComposite(const cv::Mat& time_frequency_chart, const cv::Mat& signal_strip) {
  cv::Mat composite(700, 800, CV_8UC3, kWhite);
  cv::Mat top = composite(cv::Rect(0, 0, 800, 600));
  cv::Mat bottom = composite(cv::Rect(0, 600, 800, 100));
  if (!time_frequency_chart.empty())
    cv::resize(time_frequency_chart, top, top.size(), 0, 0, cv::INTER_CUBIC);
  if (!signal_strip.empty()) cv::resize(signal_strip, bottom, bottom.size(), 0, 0, cv::INTER_CUBIC);
  return composite;
}

}  // namespace plexo
