#include "features/onset_review_chart.h"

#include <algorithm>
#include <cmath>

namespace plexo {
namespace {

int HeldSamples(const Waveform& waveform) {
  return std::clamp(std::min(waveform.count, waveform.limit), 0,
                    static_cast<int>(waveform.samples.size()));
}

}  // namespace

ChartData OnsetReviewChart(const Waveform& waveform, const OnsetTrace& trace,
                           const OnsetReviewMarks& marks) {
  const int count = HeldSamples(waveform);
  const double dt = waveform.sampleInterval;
  double largest = 0.0;
  for (int i = 0; i < count; ++i) largest = std::max(largest, std::fabs(waveform.samples[i].re));
  ChartValues samples{nullptr, waveform.samples.data(), ChartValues::Part::kRealPart};
  ChartPanel signal = SignalPanel({samples, count, nullptr, 0.0, dt}, largest, waveform.units);

  double low = 0.0, high = 0.0;
  if (!trace.aic.empty()) {
    const auto [least, most] = std::minmax_element(trace.aic.begin(), trace.aic.end());
    low = *least;
    high = *most;
  }
  ChartPanel criterion = CurvePanel(
      {{trace.aic.data()}, static_cast<int>(trace.aic.size()), nullptr, 0.0, dt}, "AIC", low, high);
  criterion.note = OnsetTraceNote(trace.problem);

  std::vector<ChartMarker> markers{
      {marks.automaticSample * dt, kAutomaticPickLabel, ChartMarker::Style::kPrimary}};
  if (marks.correctedSample != marks.automaticSample)
    markers.push_back(
        {marks.correctedSample * dt, kCorrectedPickLabel, ChartMarker::Style::kSecondary});
  criterion.markers = markers;
  signal.markers = std::move(markers);
  if (marks.windowLength > 0.0)
    signal.markers.push_back({marks.correctedSample * dt + marks.windowLength, kWindowEndLabel,
                              ChartMarker::Style::kBound});
  if (marks.state == OnsetState::kRejected) signal.note = kRejectedNote;
  return TimeChart(count * dt, {signal, criterion});
}

int OnsetSampleAt(const Waveform& waveform, double x) {
  const int count = HeldSamples(waveform);
  if (count <= 0 || !(waveform.sampleInterval > 0.0) || std::isnan(x)) return 0;
  const double i = std::round(x / waveform.sampleInterval);
  return static_cast<int>(std::clamp(i, 0.0, static_cast<double>(count - 1)));
}

}  // namespace plexo
