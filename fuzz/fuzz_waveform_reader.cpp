#include "fuzz_input_file.h"
#include "signal/waveform_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = plexo::fuzz::WriteInput(data, size);
  static plexo::Waveform wf;
  static plexo::RealWaveform real;
  static std::vector<double> basic;
  plexo::ReadWaveform(path, wf);
  plexo::ReadWaveformReal(path, real);
  double dt = 0, tot = 0;
  int channel = 0;
  plexo::ReadWaveformBasic(path, basic, dt, tot, channel);
  return 0;
}
