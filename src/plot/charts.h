#pragma once
// Chart kinds: a plot image at data resolution becomes a fixed-size display image with axes,
// ticks every 20 pixels and per-division labels ("%.2e"). Each function takes the plot image
// drawn by the matching routine (line_plots.h, matrix_paint.h), flips it where the kind says,
// and returns the display image. An empty plot image gives an empty (white) chart.
#include <opencv2/core.hpp>
#include <string>

namespace plexo {

// Signal chart, 800 x 200 (PlotSignal image, not flipped, area interpolation), grey axes.
// Labels "time[<time_span/40>s/DIV]" at (650, 90), "amplitude[<largest/5>" + units + "/DIV]" at
// (55, 20). time_span is count*dt; units with leading blanks removed by the caller or not: the
// function removes them.
cv::Mat MakeSignalChart(cv::Mat& plot, double time_span, double largest, const std::string& units);

// Spectrum chart, 800 x 300 (flipped, area interpolation), grey axes; labels
// "frequency[<highest/40>Hz/DIV]" at (610, 288) and "FFT-amplitude[<largest/15>" +
// amplitude_unit at (8, 20), where amplitude_unit is "V/DIV]" (calculations) or "volts/DIV]"
// (FFT viewer).
cv::Mat MakeSpectrumChart(cv::Mat& plot, double highest_frequency, double largest,
                          const std::string& amplitude_unit);

enum class ColourBarTitle { kWavelet, kWignerVille };  // "WT-coefficients", "SPWVD-coefficients"

// Time-frequency chart, 800 x 600 (PaintMatrix/PaintComplexMatrix image, flipped, bicubic),
// white axes; labels "time[<time_span/40>s/DIV]" at (650, 590) and
// "frequency[<frequency_span/30>Hz/DIV]" at (20, 20); then the colour bar with its title,
// white box, 256 colour lines and six "%.2e" values of i*largest/255 in black.
cv::Mat MakeTimeFrequencyChart(cv::Mat& plot, double time_span, double frequency_span,
                               double largest, ColourBarTitle title);

// Signal strip, 800 x 100 (PlotComplexSignal image, not flipped, area interpolation), grey
// axes; labels "time[<time_span/40>s/DIV]" at (650, 90) and
// "amplitude[<largest/5> <units>/DIV]" at (20, 20), units with leading blanks removed.
cv::Mat MakeSignalStrip(cv::Mat& plot, double time_span, double largest, const std::string& units);

// The 800 x 700 preview of a Single TFT: the time-frequency chart resized (bicubic) into
// (0, 0, 800, 600) and the signal strip into (0, 600, 800, 100).
cv::Mat MakePreviewComposite(const cv::Mat& time_frequency_chart, const cv::Mat& signal_strip);

}  // namespace plexo
