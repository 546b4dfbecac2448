#include "fuzz_input_file.h"
#include "timefreq/tft_file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One content for all inputs, as the viewer keeps it: each read must clear what the last stored.
  static plexo::TftFileContent content;
  const int rows = plexo::ReadTftFile(plexo::fuzz::WriteInput(data, size), content);
  if (rows > plexo::TFT_MAX_ROWS || content.columns > plexo::TFT_ROW_STRIDE) __builtin_trap();
  return 0;
}
