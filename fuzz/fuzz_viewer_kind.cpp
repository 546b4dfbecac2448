// The viewers' look at a file's first lines, on arbitrary bytes.
#include "fuzz_input_file.h"
#include "viewers/file_kind.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  plexo::DetectViewerKind(plexo::fuzz::WriteInput(data, size));
  return 0;
}
