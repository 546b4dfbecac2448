#pragma once
// Colour maps of coefficient matrices (row stride MAX_SAMPLES) and their colour scale.
#include <opencv2/core.hpp>

#include "signal/complex.h"

namespace plexo {

// The colour scale from red (0) through green (128) to blue (255), as (B, G, R) saturated to
// 0..255: e <= 128 gives (0, 2e-1, 256-2e), e > 128 gives (2e-255, 510-2e, 0).
cv::Vec3b ColourOf(int e);

// The colour index of a value on a scale whose top is M: trunc(255 - 255*v/M), kept inside int
// range before the conversion. With M = 0 (or a value that is not a number) the index is 255,
// blue: a uniformly coloured map.
int ColourIndexOf(double value, double largest);

// Paint a columns x rows image (created by the caller). Image row j shows matrix row j-1, image
// row 0 shows the last matrix row; the largest value M is searched over image rows with source
// row 0 for j = 0 and j-1 otherwise (matrix row rows-1 is not searched). The pixel colour is
// ColourOf(trunc(255 - 255*v/M)). Returns M; an all-zero matrix paints uniformly and returns 0.
double PaintMatrix(cv::Mat& image, const double* matrix, int columns, int rows);
double PaintComplexMatrix(cv::Mat& image, const Complex* matrix, int columns, int rows);

}  // namespace plexo
