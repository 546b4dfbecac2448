#include "fuzz_input_file.h"
#include "spectral/fft_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  plexo::FftFileContent content;
  plexo::ReadFFTFile(plexo::fuzz::WriteInput(data, size), content);
  return 0;
}
