// A record's FLAC blob comes from outside: any bytes must decode or be refused with a reason.
#include <cstdlib>

#include "signal/flac_blob.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::vector<std::int16_t> samples;
  std::string why;
  if (!plexo::DecodeFlacBlob(data, size, samples, why) && why.empty()) std::abort();
  return 0;
}
