// The waveform readers on arbitrary bytes: no read outside a buffer, and every sample a
// calculation receives from an accepted file is a finite number.
#include <cmath>
#include <cstdlib>

#include "fuzz_input_file.h"
#include "signal/waveform_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = plexo::fuzz::WriteInput(data, size);
  static plexo::Waveform wf;
  static plexo::RealWaveform real;
  static std::vector<double> basic;
  const int count = plexo::ReadWaveform(path, wf);
  const int real_count = plexo::ReadWaveformReal(path, real);
  if (count != real_count || wf.readProblem != real.readProblem) std::abort();
  for (int i = 0; i < count && i < plexo::MAX_SAMPLES; ++i) {
    if (!std::isfinite(wf.samples[i].re) || wf.samples[i].re != real.samples[i]) std::abort();
  }
  double dt = 0, tot = 0;
  int channel = 0;
  plexo::ReadWaveformBasic(path, basic, dt, tot, channel);
  return 0;
}
