// The recogniser and readers of other programs' waveform exports, on arbitrary text.
#include <cstdint>
#include <string_view>

#include "import/export_reader.h"
#include "import/export_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  plexo::RecogniseExport(plexo::SplitExportLines(text));
  plexo::ImportOptions options;
  plexo::ReadExportText(text, "EXP1001_1_1031_27467421", options);
  options.sampleInterval = 2e-7;
  const plexo::ExportContents contents = plexo::ReadExportText(text, "x", options);
  // Whatever is accepted is finite: the writer must never see NaN or infinity.
  if (contents.error.empty()) {
    for (double v : contents.samples)
      if (!(v - v == 0.0)) __builtin_trap();
  }
  return 0;
}
