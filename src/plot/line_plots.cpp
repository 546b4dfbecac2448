#include "plot/line_plots.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>

#include "plot/chart_style.h"

namespace plexo {
namespace {

// trunc(value/largest*scale + offset). A zero largest value never gets here (nothing is drawn
// then); a non-finite or huge row is clamped before the integer conversion, which would
// otherwise be undefined.
int MapRow(double value, double largest, double scale, double offset) {
  const double row = value / largest * scale + offset;
  if (std::isnan(row)) return static_cast<int>(offset);
  return static_cast<int>(std::clamp(row, -1.0e6, 1.0e6));
}

template <typename RowOf>
void DrawPolyline(cv::Mat& image, int count, RowOf row_of) {
  if (count < 2) return;
  int previous = row_of(0);
  for (int i = 1; i < count; ++i) {
    const int row = row_of(i);
    cv::line(image, cv::Point(i - 1, previous), cv::Point(i, row), kGraphRed, 2, cv::LINE_8, 0);
    previous = row;
  }
}

void FillWhite(cv::Mat& image) {
  if (!image.empty()) image.setTo(kWhite);
}

}  // namespace

double PlotSignal(cv::Mat& image, const double* x, int count, const WaveformHeader&) {
  FillWhite(image);
  double largest = 0.0;
  for (int i = 0; i < count; ++i) largest = std::max(largest, std::fabs(x[i]));
  if (largest > 0.0)
    DrawPolyline(image, count, [&](int i) { return MapRow(x[i], largest, 95.0, 100.0); });
  return largest;
}

double PlotSpectrum(cv::Mat& image, const double*, const double* x, int count,
                    const WaveformHeader&) {
  FillWhite(image);
  double largest = 0.0;
  for (int i = 0; i < count; ++i) largest = std::max(largest, x[i]);
  if (largest > 0.0)
    DrawPolyline(image, count, [&](int i) { return MapRow(x[i], largest, 290.0, 2.0); });
  return largest;
}

double PlotComplexSignal(cv::Mat& image, const Complex* x, int count, const WaveformHeader&) {
  FillWhite(image);
  double largest = 0.0;
  for (int i = 0; i < count; ++i) largest = std::max(largest, std::hypot(x[i].re, x[i].im));
  if (largest > 0.0)
    DrawPolyline(image, count, [&](int i) { return MapRow(x[i].re, largest, 48.0, 50.0); });
  return largest;
}

double PlotComplexSpectrum(cv::Mat& image, const double*, const Complex* x, int count,
                           const WaveformHeader&) {
  FillWhite(image);
  double largest = 0.0;
  for (int i = 0; i < count; ++i) largest = std::max(largest, std::hypot(x[i].re, x[i].im));
  if (largest > 0.0) {
    DrawPolyline(image, count,
                 [&](int i) { return MapRow(std::hypot(x[i].re, x[i].im), largest, 290.0, 2.0); });
  }
  return largest;
}

}  // namespace plexo
