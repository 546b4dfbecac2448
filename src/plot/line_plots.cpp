#include "plot/line_plots.h"

#include <cmath>
#include <opencv2/imgproc.hpp>

#include "plot/chart_style.h"

namespace plexo {
namespace {

// trunc(value/largest*scale + offset) without letting a zero largest value or a non-finite
// result reach an integer conversion: such points sit on the offset row.
int MapRow(double value, double largest, double scale, double offset) {
  if (!(largest > 0.0)) return static_cast<int>(offset);
  const double row = value / largest * scale + offset;
  if (!std::isfinite(row)) return static_cast<int>(offset);
  if (row > 1e6) return 1000000;
  if (row < -1e6) return -1000000;
  return static_cast<int>(row);
}

void DrawPolyline(cv::Mat& image, int count, auto row_of) {
  if (count < 2) return;
  int previous = row_of(0);
  for (int i = 1; i < count; ++i) {
    const int row = row_of(i);
    cv::line(image, cv::Point(i - 1, previous), cv::Point(i, row), kGraphRed, 2, cv::LINE_8, 0);
    previous = row;
  }
}

}  // namespace

double PlotComplexSpectrum(cv::Mat& image, const double* /*frequencies*/, const Complex* x,
                           int count, const WaveformHeader& /*header*/) {
  image.setTo(kWhite);
  double largest = 0.0;
  for (int i = 0; i < count; ++i) largest = std::max(largest, std::hypot(x[i].re, x[i].im));
  if (largest > 0.0) {
    DrawPolyline(image, count, [&](int i) {
      return MapRow(std::hypot(x[i].re, x[i].im), largest, 290.0, 2.0);
    });
  }
  return largest;
}

}  // namespace plexo
