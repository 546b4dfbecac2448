#pragma once
// Chart kinds: a plot image at data resolution becomes a fixed-size display image with axes,
// ticks and per-division labels.
#include <opencv2/core.hpp>
#include <string>

namespace plexo {

// The spectrum chart (800 x 300): the plot image (count x 300, drawn with large values low) is
// flipped, resized with area interpolation and given grey axes, ticks every 20 pixels, the
// label "frequency[<highest/40>Hz/DIV]" at (610, 288) and
// "FFT-amplitude[<largest/15>" + amplitude_unit at (8, 20), amplitude_unit being "V/DIV]" for
// the calculations and "volts/DIV]" for the FFT viewer. An empty plot image gives a white chart.
cv::Mat MakeSpectrumChart(cv::Mat& plot, double highest_frequency, double largest,
                          const std::string& amplitude_unit);

}  // namespace plexo
