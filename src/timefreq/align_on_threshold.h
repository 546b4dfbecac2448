#pragma once
// Aligning a waveform on its first threshold crossing, so that the transients of a folder line
// up before they are averaged.
#include "signal/complex.h"

namespace plexo {

// The first crossing is looked for from this index on: the first samples of a recording often
// carry the switch-on transient of the acquisition and must not trigger the alignment.
inline constexpr int kFirstAlignmentSample = 10;

// Moves the first sample i >= 10 with |x[i].re| > threshold to index `target`: every sample of
// x[0 .. count - 1] shifts by target - i places (later when positive, earlier when negative), the
// places it leaves become zero and samples shifted past either end are dropped. Without such a
// sample the crossing counts as index 0, so the whole waveform is delayed by `target`. Entries
// from `count` on are not touched. Any target is safe: a shift of count places or more zeroes
// the waveform.
void AlignOnThreshold(Complex* x, int count, double threshold, int target);

// The index one fifth into the time window [timeStart, timeEnd] at sample interval dt, truncated
// toward zero: trunc((0.2 (timeEnd - timeStart) + timeStart) / dt). The quotient is clamped in
// double before it becomes an int (beyond +-2 MAX_SAMPLES every shift empties the waveform
// anyway); a quotient that is not a number (0/0) gives 0.
int AlignmentTarget(double timeStart, double timeEnd, double dt);

}  // namespace plexo
