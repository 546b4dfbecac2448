#include "viewers/file_charts.h"

#include <algorithm>

#include "plot/charts.h"
#include "plot/line_plots.h"
#include "plot/matrix_paint.h"
#include "signal/waveform_file.h"

namespace plexo {
namespace {

cv::Mat PlotImage(int width, int height) {
  return cv::Mat(height, width, CV_8UC3, cv::Scalar(255, 255, 255));
}

FileChart WaveformChart(const std::string& path, RealWaveform& waveform) {
  FileChart chart;
  chart.readResult = ReadWaveformReal(path, waveform);
  chart.readProblem = waveform.readProblem;
  if (chart.readResult <= 0) return chart;
  const int d = std::min(chart.readResult, MAX_SAMPLES);
  cv::Mat plot = PlotImage(d, 200);
  chart.largest = PlotSignal(plot, waveform.samples.data(), d, waveform);
  chart.plotSize = plot.size();
  const double span = d * waveform.sampleInterval;
  chart.horizontal = span / 40.0;
  chart.vertical = chart.largest / 5.0;
  chart.image = MakeSignalChart(plot, span, chart.largest, waveform.units);
  const ChartLine samples{{waveform.samples.data()}, d, nullptr, 0.0, waveform.sampleInterval};
  chart.data = TimeChart(span, {SignalPanel(samples, chart.largest, waveform.units)});
  return chart;
}

FileChart FftChart(const std::string& path, FftFileContent& fft) {
  FileChart chart;
  chart.readResult = ReadFFTFile(path, fft);
  if (chart.readResult <= 0) return chart;
  const int d = chart.readResult;
  cv::Mat plot = PlotImage(d, 300);
  const WaveformHeader unused;
  chart.largest = PlotSpectrum(plot, fft.frequencies.data(), fft.amplitudes.data(), d, unused);
  chart.plotSize = plot.size();
  const double highest = fft.frequencies[d - 1];
  chart.horizontal = highest / 40.0;
  chart.vertical = chart.largest / 15.0;
  chart.image = MakeSpectrumChart(plot, highest, chart.largest, "volts/DIV]");
  const ChartLine spectrum{{fft.amplitudes.data()}, d, fft.frequencies.data()};
  chart.data = FrequencyChart(highest, {SpectrumPanel(spectrum, chart.largest, "volts")});
  return chart;
}

FileChart TftChart(const std::string& path, TftFileContent& tft) {
  FileChart chart;
  chart.readResult = ReadTftFile(path, tft);
  if (chart.readResult <= 0) return chart;
  // A header row without columns leaves an empty plot: the chart is drawn without a map.
  cv::Mat plot = PlotImage(tft.columns, tft.rows);
  if (tft.columns > 0) chart.largest = PaintMatrix(plot, tft.Matrix(), tft.columns, tft.rows);
  chart.plotSize = cv::Size(tft.columns, tft.rows);
  const double timeSpan = tft.columns * tft.timeResolution;
  const double frequencySpan = tft.rows * tft.frequencyResolution;
  chart.horizontal = timeSpan / 40.0;
  chart.vertical = frequencySpan / 30.0;
  chart.image = MakeTimeFrequencyChart(plot, timeSpan, frequencySpan, chart.largest,
                                       ColourBarTitle::kWavelet);
  const ChartMap cells{{tft.Matrix()}, tft.rows,           tft.columns,
                       TFT_ROW_STRIDE, tft.timeResolution, tft.frequencyResolution,
                       chart.largest};
  chart.data = TimeChart(timeSpan, {MapPanel(cells, "WT-coefficient")});
  return chart;
}

}  // namespace

FileChart DrawFileChart(ViewerKind kind, const std::string& path, ViewerWorkspace& workspace) {
  switch (kind) {
    case ViewerKind::kWaveform:
      return WaveformChart(path, workspace.waveform);
    case ViewerKind::kFft:
      return FftChart(path, workspace.fft);
    case ViewerKind::kTft:
      return TftChart(path, workspace.tft);
  }
  return {};
}

}  // namespace plexo
