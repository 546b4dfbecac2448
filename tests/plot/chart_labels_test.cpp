// The texts every chart kind prints, read back from the pixels.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "plot/chart_style.h"
#include "plot/charts.h"
#include "plot/matrix_paint.h"
#include "support/chart_label.h"

namespace plexo {
namespace {

using testing::ShowsLabel;

// A plot image whose red graph runs diagonally through the whole chart, labels included.
cv::Mat LinePlot(int width, int height) {
  cv::Mat plot(height, width, CV_8UC3, kWhite);
  cv::line(plot, {0, 0}, {width - 1, height - 1}, kGraphRed, 2, cv::LINE_8);
  return plot;
}

// A colour map with every colour of the scale, row by row.
cv::Mat ColourMap() {
  cv::Mat map(64, 40, CV_8UC3);
  for (int r = 0; r < map.rows; ++r) map.row(r).setTo(cv::Scalar(ColourOf(r * 4)));
  return map;
}

struct LabelCase {
  const char* name;
  std::function<cv::Mat()> chart;
  std::string text;
  cv::Point origin;
  cv::Scalar colour;
};

void PrintTo(const LabelCase& c, std::ostream* os) { *os << c.name; }

class ChartLabels : public ::testing::TestWithParam<LabelCase> {};

TEST_P(ChartLabels, ShowTheValuePerDivision) {
  const LabelCase& c = GetParam();
  EXPECT_TRUE(ShowsLabel(c.chart(), c.text, c.origin, c.colour));
}

cv::Mat Spectrum() {
  cv::Mat plot = LinePlot(50, 300);
  return MakeSpectrumChart(plot, 4.99e6, 30.0, "V/DIV]");  // 4.99e6/40, 30/15
}
cv::Mat ViewerSpectrum() {
  cv::Mat plot = LinePlot(50, 300);
  return MakeSpectrumChart(plot, 1e6, 0.3, "volts/DIV]");
}
cv::Mat Signal() {
  cv::Mat plot = LinePlot(50, 200);
  return MakeSignalChart(plot, 4e-4, 1.0, "  volts");  // 4e-4/40, 1/5
}
cv::Mat Strip() {
  cv::Mat plot = LinePlot(50, 100);
  return MakeSignalStrip(plot, 3e-4, 2.5, " mV");
}
cv::Mat WaveletMap() {
  cv::Mat map = ColourMap();
  return MakeTimeFrequencyChart(map, 4.001e-4, 1e6, 2.0, ColourBarTitle::kWavelet);
}
cv::Mat WignerVilleMap() {
  cv::Mat map = ColourMap();
  return MakeTimeFrequencyChart(map, 2e-4, 6e5, 255.0, ColourBarTitle::kWignerVille);
}

const cv::Scalar kGrey = kAxisGrey;

INSTANTIATE_TEST_SUITE_P(
    Kinds, ChartLabels,
    ::testing::Values(
        LabelCase{"SpectrumFrequency", Spectrum, "frequency[1.25e+005Hz/DIV]", {610, 288}, kGrey},
        LabelCase{"SpectrumAmplitude", Spectrum, "FFT-amplitude[2.00e+000V/DIV]", {8, 20}, kGrey},
        LabelCase{"ViewerSpectrumAmplitude",
                  ViewerSpectrum,
                  "FFT-amplitude[2.00e-002volts/DIV]",
                  {8, 20},
                  kGrey},
        LabelCase{"SignalTime", Signal, "time[1.00e-005s/DIV]", {650, 90}, kGrey},
        LabelCase{"SignalAmplitude", Signal, "amplitude[2.00e-001volts/DIV]", {55, 20}, kGrey},
        LabelCase{"StripTime", Strip, "time[7.50e-006s/DIV]", {650, 90}, kGrey},
        LabelCase{"StripAmplitude", Strip, "amplitude[5.00e-001 mV/DIV]", {20, 20}, kGrey},
        LabelCase{"MapTime", WaveletMap, "time[1.00e-005s/DIV]", {650, 590}, kWhite},
        LabelCase{"MapFrequency", WaveletMap, "frequency[3.33e+004Hz/DIV]", {20, 20}, kWhite},
        LabelCase{"WaveletTitle", WaveletMap, "WT-coefficients", {695, 15}, kWhite},
        LabelCase{"WignerVilleTitle", WignerVilleMap, "SPWVD-coefficients", {670, 15}, kWhite},
        LabelCase{
            "WignerVilleFrequency", WignerVilleMap, "frequency[2.00e+004Hz/DIV]", {20, 20}, kWhite},
        // The colour bar's values i*M/255 stand beside their colour line i: zero at the bottom.
        LabelCase{"BarZero", WaveletMap, "0.00e+000", {724, 279}, kBlack},
        LabelCase{"Bar50", WaveletMap, "3.92e-001", {724, 229}, kBlack},
        LabelCase{"Bar150", WaveletMap, "1.18e+000", {724, 129}, kBlack},
        LabelCase{"Bar250", WaveletMap, "1.96e+000", {724, 29}, kBlack},
        LabelCase{"WignerVilleBar100", WignerVilleMap, "1.00e+002", {724, 179}, kBlack}),
    [](const auto& info) { return std::string(info.param.name); });

// The helper itself: a neighbouring value, a shifted place or another colour is not taken for
// the label.
TEST(ChartLabels, ReadingBackTellsNeighbouringValuesApart) {
  const cv::Mat chart = Spectrum();
  EXPECT_FALSE(ShowsLabel(chart, "frequency[1.24e+005Hz/DIV]", {610, 288}, kGrey));
  EXPECT_FALSE(ShowsLabel(chart, "frequency[1.25e+005Hz/DIV]", {611, 288}, kGrey));
  EXPECT_FALSE(ShowsLabel(chart, "frequency[1.25e+005Hz/DIV]", {610, 288}, kWhite));
  const cv::Mat map = WaveletMap();
  EXPECT_FALSE(ShowsLabel(map, "0.00e+000", {724, 29}, kBlack));
}

}  // namespace
}  // namespace plexo
