#pragma once
// The review picture of one waveform's onset: the waveform, below it the picker's criterion on
// the same time axis (split j at j * dt, where the onset of that split lies), the automatic pick
// marked on both and the corrected pick beside it when it differs. The command line renders it
// into the --plots images, the desktop's review window draws it interactively: one chart, one
// look.
#include "features/onset_table.h"
#include "features/time_features.h"
#include "plot/chart_data.h"
#include "signal/waveform.h"

namespace plexo {

// The marks of a review: the samples of the two picks and the hit's state.
struct OnsetReviewMarks {
  int automaticSample = 0;
  int correctedSample = 0;
  OnsetState state = OnsetState::kAutomatic;
  double windowLength = 0.0;  // s: the feature window's end is marked after the corrected pick
};

// Marker labels.
inline constexpr const char* kAutomaticPickLabel = "automatic pick";
inline constexpr const char* kCorrectedPickLabel = "corrected pick";
inline constexpr const char* kWindowEndLabel = "window end";
inline constexpr const char* kRejectedNote = "Rejected: this hit is left out of the feature table.";

// The chart of `waveform` (its first min(count, samples held) samples) and its `trace`. The
// data are borrowed: waveform.samples and trace.aic must stay as they are while it is shown.
// The criterion panel's note says why the pick cannot mean anything where it cannot; the
// waveform panel's note says when the hit is rejected.
ChartData OnsetReviewChart(const Waveform& waveform, const OnsetTrace& trace,
                           const OnsetReviewMarks& marks);

// The sample a click at horizontal position x (seconds from the first sample) picks: the nearest
// one, within 0 .. count - 1.
int OnsetSampleAt(const Waveform& waveform, double x);

}  // namespace plexo
