#include "spectral/sample_interval_check.h"

#include <cmath>

#include "signal/number_text.h"

namespace plexo {

std::string SampleIntervalProblem(const std::string& path, double sampleInterval) {
  if (sampleInterval > 0.0 && std::isfinite(sampleInterval)) return {};
  return "Sample interval of " + FormatE(sampleInterval) + " s in " + path +
         " is not allowed! The file needs a \"SAMPLE INTERVAL (Seconds):\" line with a value > 0!";
}

}  // namespace plexo
