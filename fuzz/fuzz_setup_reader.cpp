#include "fuzz_input_file.h"
#include "signal/setup_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  plexo::CalcSettings settings;
  std::string fft, wt, hw;
  plexo::LoadSetup(settings, fft, wt, hw, plexo::fuzz::WriteInput(data, size));
  return 0;
}
