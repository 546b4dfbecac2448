#include "timefreq/cwt_preview.h"

#include "plot/charts.h"
#include "plot/line_plots.h"
#include "plot/matrix_paint.h"

namespace plexo {

TftPreview MakeCwtPreview(const TftMatrix& matrix, int columns, int lines, double dt,
                          double freqStep, const Complex* window, int sampleCount,
                          const WaveformHeader& header) {
  const double time_span = (columns + 1) * dt;

  cv::Mat map(lines, columns + 1, CV_8UC3);
  const double largest = PaintComplexMatrix(map, matrix.Data(), columns + 1, lines);
  const cv::Mat chart =
      MakeTimeFrequencyChart(map, time_span, lines * freqStep, largest, ColourBarTitle::kWavelet);

  cv::Mat signal(100, columns + 1, CV_8UC3);
  const double amplitude = PlotComplexSignal(signal, window, sampleCount, header);
  const cv::Mat strip = MakeSignalStrip(signal, time_span, amplitude, header.units);

  ChartMap coefficients{{nullptr, matrix.Data(), ChartValues::Part::kModulus},
                        lines,
                        columns + 1,
                        TFT_ROW_STRIDE,
                        dt,
                        freqStep,
                        largest};
  const ChartLine samples{
      {nullptr, window, ChartValues::Part::kRealPart}, sampleCount, nullptr, 0.0, dt};
  return {MakePreviewComposite(chart, strip),
          TimeChart(time_span, {MapPanel(coefficients, "WT-coefficient"),
                                SignalPanel(samples, amplitude, header.units)})};
}

}  // namespace plexo
