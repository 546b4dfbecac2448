// The transfer-function reader on arbitrary text: whatever the lines hold, it stores no entry
// beyond its buffer and counts the lines it read.
#include <cstdlib>
#include <vector>

#include "fuzz_input_file.h"
#include "signal/waveform.h"
#include "spectral/transfer_function.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<plexo::Complex> transfer;
  const int lines = plexo::ReadTransferFunction(plexo::fuzz::WriteInput(data, size), transfer);
  // A title line, then one line per bin: never more lines than there are line ends plus one.
  size_t line_ends = 0;
  for (size_t i = 0; i < size; ++i) line_ends += data[i] == '\n';
  if (lines < 1 || static_cast<size_t>(lines) > line_ends + 2) std::abort();
  if (transfer.size() != static_cast<size_t>(plexo::MAX_SAMPLES) + 1) std::abort();
  return 0;
}
