#pragma once
// Line graphs at the data's own resolution: one pixel column per sample or bin (column i is
// point i). The caller creates the image (count pixels wide, the height given below) and scales
// it afterwards. Each routine fills the image with white, scans the input once for the largest
// value M (starting from 0), and, with two points or more, draws red lines of thickness 2
// (8-connected) from (i-1, y(i-1)) to (i, y(i)). A largest value of 0 draws nothing. The
// frequencies and header values are accepted for the callers' sake and not used.
#include <opencv2/core.hpp>

#include "signal/complex.h"
#include "signal/waveform.h"

namespace plexo {

// count x 200: y(i) = trunc(x[i]/M*95 + 100), M = max |x[i]|.
double PlotSignal(cv::Mat& image, const double* x, int count, const WaveformHeader& header);
// count x 300: y(i) = trunc(x[i]/M*290 + 2), M = max x[i] (signed).
double PlotSpectrum(cv::Mat& image, const double* frequencies, const double* x, int count,
                    const WaveformHeader& header);
// count x 100: y(i) = trunc(re x[i]/M*48 + 50), M = max |x[i]| (modulus).
double PlotComplexSignal(cv::Mat& image, const Complex* x, int count, const WaveformHeader& header);
// count x 300: y(i) = trunc(|x[i]|/M*290 + 2), M = max |x[i]|.
double PlotComplexSpectrum(cv::Mat& image, const double* frequencies, const Complex* x, int count,
                           const WaveformHeader& header);

}  // namespace plexo
