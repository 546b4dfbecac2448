#include "plot/matrix_paint.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "signal/waveform.h"

namespace plexo {
namespace {

unsigned char Saturate(int value) { return static_cast<unsigned char>(std::clamp(value, 0, 255)); }

// Image row j shows matrix row j-1; image row 0 shows the last matrix row. The search for the
// largest value uses row 0 for image row 0 instead, so the last row is never searched.
template <typename ValueOf>
double Paint(cv::Mat& image, int columns, int rows, ValueOf value_of) {
  double largest = 0.0;
  for (int j = 0; j < rows; ++j) {
    const int source = j == 0 ? 0 : j - 1;
    for (int c = 0; c < columns; ++c) largest = std::max(largest, value_of(source, c));
  }
  for (int j = 0; j < rows; ++j) {
    const int source = j == 0 ? rows - 1 : j - 1;
    cv::Vec3b* pixels = image.ptr<cv::Vec3b>(j);
    for (int c = 0; c < columns; ++c)
      pixels[c] = ColourOf(ColourIndexOf(value_of(source, c), largest));
  }
  return largest;
}

std::ptrdiff_t Index(int row, int column) {
  return static_cast<std::ptrdiff_t>(row) * MAX_SAMPLES + column;
}

}  // namespace

int ColourIndexOf(double value, double largest) {
  if (!(largest > 0.0)) return 255;
  const double e = 255.0 - 255.0 * value / largest;
  if (std::isnan(e)) return 255;
  return static_cast<int>(std::clamp(e, -1.0e6, 1.0e6));
}

cv::Vec3b ColourOf(int e) {
  if (e <= 128) return cv::Vec3b(0, Saturate(2 * e - 1), Saturate(256 - 2 * e));
  return cv::Vec3b(Saturate(2 * e - 255), Saturate(510 - 2 * e), 0);
}

double PaintMatrix(cv::Mat& image, const double* matrix, int columns, int rows) {
  return Paint(image, columns, rows, [&](int r, int c) { return matrix[Index(r, c)]; });
}

double PaintComplexMatrix(cv::Mat& image, const Complex* matrix, int columns, int rows) {
  return Paint(image, columns, rows, [&](int r, int c) {
    const Complex& v = matrix[Index(r, c)];
    return std::hypot(v.re, v.im);
  });
}

}  // namespace plexo
