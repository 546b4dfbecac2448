#include "ascii_ops/ascii_operators.h"

#include "ascii_ops/location_conversion.h"

namespace plexo {

CalcStatus RealAsciiOperators::Run(CalcMode mode, const std::string& path, CalcProgress& progress,
                                   Host& host) {
  if (!workspace_) workspace_ = std::make_unique<AsciiWorkspace>();
  AsciiWorkspace& ws = *workspace_;
  switch (mode) {
    case CalcMode::kAccumulate:
      return Accumulate(ws, path, progress, host);
    case CalcMode::kColumns:
      return Columns(ws, path, progress, host);
    case CalcMode::kEventLinking:
      return EventLinking(ws, path, progress, host);
    case CalcMode::kAewinToAscii:
      return ConvertAewinLocations(path, progress, host);
    case CalcMode::kVisualAeToAscii:
      return ConvertVisualAeLocations(path, progress, host);
    case CalcMode::kSplit:
      return Split(ws, path, progress, host);
    default:
      return CalcStatus::kRefused;
  }
}

}  // namespace plexo
