#pragma once
// Line graphs at the data's own resolution: one pixel column per sample or bin. The caller
// creates the image (count wide) and scales it afterwards.
#include <opencv2/core.hpp>

#include "signal/complex.h"
#include "signal/waveform.h"

namespace plexo {

// Modulus of a complex spectrum rising from row 2 (image count x 300): white background, red
// lines of thickness 2 from (i-1, y(i-1)) to (i, y(i)) with y(i) = trunc(|x[i]|/M*290 + 2).
// Returns the largest modulus M (0 for an empty or all-zero spectrum, which draws nothing).
// The frequencies and header are accepted for the callers' sake and not used.
double PlotComplexSpectrum(cv::Mat& image, const double* frequencies, const Complex* x, int count,
                           const WaveformHeader& header);

}  // namespace plexo
