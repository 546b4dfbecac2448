#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>
#include <vector>

#include "plot/charts.h"
#include "plot/line_plots.h"
#include "plot/matrix_paint.h"

namespace plexo {
namespace {

const cv::Vec3b kRed(0, 0, 255);
const cv::Vec3b kWhitePixel(255, 255, 255);
const cv::Vec3b kGrey(100, 100, 100);

cv::Mat Image(int width, int height) {
  return cv::Mat(height, width, CV_8UC3, cv::Scalar(1, 2, 3));
}

TEST(LinePlots, SignalSpectrumAndComplexSignalRows) {
  const WaveformHeader header;
  cv::Mat signal = Image(3, 200);
  const double x[] = {0.0, 1.0, -1.0};
  EXPECT_EQ(PlotSignal(signal, x, 3, header), 1.0);
  EXPECT_EQ(signal.at<cv::Vec3b>(100, 0), kRed);
  EXPECT_EQ(signal.at<cv::Vec3b>(195, 1), kRed);  // positive values lie below row 100
  EXPECT_EQ(signal.at<cv::Vec3b>(5, 2), kRed);
  EXPECT_EQ(signal.at<cv::Vec3b>(199, 0), kWhitePixel);

  cv::Mat spectrum = Image(3, 300);
  const double s[] = {0.0, 2.0, 4.0};
  EXPECT_EQ(PlotSpectrum(spectrum, nullptr, s, 3, header), 4.0);
  EXPECT_EQ(spectrum.at<cv::Vec3b>(2, 0), kRed);
  EXPECT_EQ(spectrum.at<cv::Vec3b>(147, 1), kRed);
  EXPECT_EQ(spectrum.at<cv::Vec3b>(292, 2), kRed);

  // Negative values never raise the largest value of a spectrum.
  const double negative[] = {-5.0, -1.0};
  EXPECT_EQ(PlotSpectrum(spectrum, nullptr, negative, 2, header), 0.0);

  cv::Mat strip = Image(2, 100);
  const Complex c[] = {{-2.0, 0.0}, {2.0, 0.0}};
  EXPECT_EQ(PlotComplexSignal(strip, c, 2, header), 2.0);
  EXPECT_EQ(strip.at<cv::Vec3b>(2, 0), kRed);
  EXPECT_EQ(strip.at<cv::Vec3b>(98, 1), kRed);

  cv::Mat complex_spectrum = Image(2, 300);
  const Complex m[] = {{3.0, 4.0}, {0.0, 0.0}};
  EXPECT_EQ(PlotComplexSpectrum(complex_spectrum, nullptr, m, 2, header), 5.0);
  EXPECT_EQ(complex_spectrum.at<cv::Vec3b>(292, 0), kRed);
  EXPECT_EQ(complex_spectrum.at<cv::Vec3b>(2, 1), kRed);
}

TEST(LinePlots, FewerThanTwoPointsOrAllZeroStayWhite) {
  const WaveformHeader header;
  cv::Mat one = Image(1, 200);
  const double x[] = {5.0};
  EXPECT_EQ(PlotSignal(one, x, 1, header), 5.0);
  EXPECT_EQ(cv::countNonZero(one.reshape(1) != 255), 0);

  cv::Mat zeros = Image(4, 300);
  const double z[] = {0.0, 0.0, 0.0, 0.0};
  EXPECT_EQ(PlotSpectrum(zeros, nullptr, z, 4, header), 0.0);
  EXPECT_EQ(cv::countNonZero(zeros.reshape(1) != 255), 0);

  // A width-1 plot still fills the whole display when resized.
  cv::Mat chart = MakeSignalChart(one, 1e-7, 5.0, "volts");
  EXPECT_EQ(chart.size(), cv::Size(800, 200));
  EXPECT_EQ(chart.at<cv::Vec3b>(150, 700), kWhitePixel);
}

TEST(ColourScale, RunsFromRedThroughGreenToBlue) {
  EXPECT_EQ(ColourOf(0), cv::Vec3b(0, 0, 255));  // 256 saturates
  EXPECT_EQ(ColourOf(128), cv::Vec3b(0, 255, 0));
  EXPECT_EQ(ColourOf(129), cv::Vec3b(3, 252, 0));
  EXPECT_EQ(ColourOf(255), cv::Vec3b(255, 0, 0));
  EXPECT_EQ(ColourOf(-40), cv::Vec3b(0, 0, 255));
}

TEST(MatrixPaint, RowShiftAndSearchOfAllButTheLastRow) {
  std::vector<double> matrix(3 * MAX_SAMPLES, 0.0);
  matrix[0] = 1.0;
  matrix[MAX_SAMPLES] = 2.0;
  matrix[2 * MAX_SAMPLES] = 0.0;
  cv::Mat image = Image(1, 3);
  EXPECT_EQ(PaintMatrix(image, matrix.data(), 1, 3), 2.0);
  EXPECT_EQ(image.at<cv::Vec3b>(0, 0), cv::Vec3b(255, 0, 0));  // row 2: 0, blue
  EXPECT_EQ(image.at<cv::Vec3b>(1, 0), cv::Vec3b(0, 253, 2));  // row 0: e = 127
  EXPECT_EQ(image.at<cv::Vec3b>(2, 0), cv::Vec3b(0, 0, 255));  // row 1: e = 0, red

  // The last row is not searched: a value above M there saturates to red.
  matrix[2 * MAX_SAMPLES] = 10.0;
  EXPECT_EQ(PaintMatrix(image, matrix.data(), 1, 3), 2.0);
  EXPECT_EQ(image.at<cv::Vec3b>(0, 0), cv::Vec3b(0, 0, 255));

  std::vector<Complex> zeros(2 * MAX_SAMPLES);
  cv::Mat blank = Image(4, 2);
  EXPECT_EQ(PaintComplexMatrix(blank, zeros.data(), 4, 2), 0.0);
  EXPECT_EQ(blank.at<cv::Vec3b>(1, 3), cv::Vec3b(255, 0, 0));  // uniformly coloured

  std::vector<Complex> complex_matrix(2 * MAX_SAMPLES);
  complex_matrix[0] = {3.0, 4.0};
  cv::Mat painted = Image(1, 2);
  EXPECT_EQ(PaintComplexMatrix(painted, complex_matrix.data(), 1, 2), 5.0);
  EXPECT_EQ(painted.at<cv::Vec3b>(1, 0), cv::Vec3b(0, 0, 255));
}

TEST(Charts, AxesTicksAndLabelsOfEveryKind) {
  cv::Mat spectrum_plot(300, 10, CV_8UC3, cv::Scalar(255, 255, 255));
  cv::Mat spectrum = MakeSpectrumChart(spectrum_plot, 4.99e6, 30.0, "V/DIV]");
  EXPECT_EQ(spectrum.size(), cv::Size(800, 300));
  EXPECT_EQ(spectrum.at<cv::Vec3b>(298, 500), kGrey);
  EXPECT_EQ(spectrum.at<cv::Vec3b>(297, 780), kGrey);
  EXPECT_EQ(spectrum.at<cv::Vec3b>(150, 2), kGrey);
  EXPECT_EQ(spectrum.at<cv::Vec3b>(280, 3), kGrey);

  cv::Mat signal_plot(200, 10, CV_8UC3, cv::Scalar(255, 255, 255));
  cv::Mat signal = MakeSignalChart(signal_plot, 4e-4, 1.0, " volts");
  EXPECT_EQ(signal.at<cv::Vec3b>(100, 300), kGrey);
  EXPECT_EQ(signal.at<cv::Vec3b>(60, 50), kGrey);
  EXPECT_EQ(signal.at<cv::Vec3b>(40, 46), kGrey);

  cv::Mat map_plot(10, 20, CV_8UC3, cv::Scalar(255, 0, 0));
  cv::Mat map = MakeTimeFrequencyChart(map_plot, 4e-4, 1e6, 2.0, ColourBarTitle::kWavelet);
  EXPECT_EQ(map.size(), cv::Size(800, 600));
  EXPECT_EQ(map.at<cv::Vec3b>(596, 300), kWhitePixel);
  EXPECT_EQ(map.at<cv::Vec3b>(300, 4), kWhitePixel);
  EXPECT_EQ(map.at<cv::Vec3b>(22, 710), cv::Vec3b(0, 0, 255));   // bar top: red
  EXPECT_EQ(map.at<cv::Vec3b>(150, 710), cv::Vec3b(0, 255, 0));  // i = 128: green
  EXPECT_EQ(map.at<cv::Vec3b>(277, 710), cv::Vec3b(255, 0, 0));  // bar bottom: blue
  EXPECT_EQ(map.at<cv::Vec3b>(100, 790), kWhitePixel);           // white box
  EXPECT_EQ(map.at<cv::Vec3b>(400, 400), cv::Vec3b(255, 0, 0));  // the map itself

  cv::Mat strip_plot(100, 10, CV_8UC3, cv::Scalar(255, 255, 255));
  cv::Mat strip = MakeSignalStrip(strip_plot, 4e-4, 1.0, "volts");
  EXPECT_EQ(strip.size(), cv::Size(800, 100));
  EXPECT_EQ(strip.at<cv::Vec3b>(50, 300), kGrey);
  EXPECT_EQ(strip.at<cv::Vec3b>(70, 4), kGrey);

  cv::Mat composite = MakePreviewComposite(map, strip);
  EXPECT_EQ(composite.size(), cv::Size(800, 700));
  EXPECT_EQ(composite.at<cv::Vec3b>(650, 300), kGrey);
  EXPECT_EQ(composite.at<cv::Vec3b>(400, 400), cv::Vec3b(255, 0, 0));
}

TEST(Charts, LabelsArePlacedWhereTheLayoutSays) {
  // Text is drawn with its origin at the bottom-left: the frequency label of a spectrum chart
  // puts grey pixels just above row 288 from column 610 on, and none left of it on that row.
  cv::Mat plot(300, 4, CV_8UC3, cv::Scalar(255, 255, 255));
  cv::Mat chart = MakeSpectrumChart(plot, 5e6, 1.0, "V/DIV]");
  cv::Mat label = chart(cv::Rect(610, 278, 190, 10));
  cv::Mat left = chart(cv::Rect(500, 278, 100, 10));
  EXPECT_GT(cv::countNonZero(label.reshape(1) != 255), 20);
  EXPECT_EQ(cv::countNonZero(left.reshape(1) != 255), 0);
}

}  // namespace
}  // namespace plexo
