// The transfer-function reader on arbitrary text: whatever the lines hold, it stores no entry
// beyond its buffer, counts the lines it read, and every bin of a file it accepts is finite.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_input_file.h"
#include "signal/waveform.h"
#include "spectral/transfer_function.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<plexo::Complex> transfer;
  std::string problem;
  const int lines =
      plexo::ReadTransferFunction(plexo::fuzz::WriteInput(data, size), transfer, &problem);
  if (transfer.size() != static_cast<size_t>(plexo::MAX_SAMPLES) + 1) std::abort();
  if (lines == -1) {
    if (problem.empty()) std::abort();  // a refused text is named
    return 0;
  }
  // A title line, then one line per bin: never more lines than there are line ends plus one.
  size_t line_ends = 0;
  for (size_t i = 0; i < size; ++i) line_ends += data[i] == '\n';
  if (lines < 1 || static_cast<size_t>(lines) > line_ends + 2) std::abort();
  for (int k = 1; k < lines && k <= plexo::MAX_SAMPLES; ++k) {
    if (!std::isfinite(transfer[k].re) || !std::isfinite(transfer[k].im)) std::abort();
  }
  return 0;
}
