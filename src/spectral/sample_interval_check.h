#pragma once
// The frequency grid of a spectrum is 1/(N dt): a file without a usable sample interval (the
// line missing, zero, negative or not a number) would give infinite or NaN frequencies.
#include <string>

namespace plexo {

// Empty when dt is a positive finite number; otherwise the message that refuses the file, naming
// it: "Sample interval of <dt as %e> s in <path> is not allowed! The file needs a "SAMPLE
// INTERVAL (Seconds):" line with a value > 0!". A file without the line reads as 0.
std::string SampleIntervalProblem(const std::string& path, double sampleInterval);

}  // namespace plexo
