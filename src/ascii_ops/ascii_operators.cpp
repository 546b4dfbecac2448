#include "ascii_ops/ascii_operators.h"

#include "ascii_ops/location_conversion.h"

namespace plexo {

CalcStatus RealAsciiOperators::Run(CalcMode mode, const std::string& path, CalcProgress& progress,
                                   Host& host) {
  if (!workspace_) workspace_ = std::make_unique<AsciiWorkspace>();
  AsciiWorkspace& ws = *workspace_;
  CalcStatus status = CalcStatus::kRefused;
  switch (mode) {
    case CalcMode::kAccumulate:
      status = Accumulate(ws, path, progress, host);
      break;
    case CalcMode::kColumns:
      status = Columns(ws, path, progress, host);
      break;
    case CalcMode::kEventLinking:
      status = EventLinking(ws, path, progress, host);
      break;
    case CalcMode::kAewinToAscii:
      return ConvertAewinLocations(path, progress, host);
    case CalcMode::kVisualAeToAscii:
      return ConvertVisualAeLocations(path, progress, host);
    case CalcMode::kSplit:
      status = Split(ws, path, progress, host);
      break;
    default:
      return CalcStatus::kRefused;
  }
  // Whatever ended the run, the files it put in place are there (a stopped event linking keeps
  // the events written before the stop).
  if (!ws.written.empty()) host.ResultWritten(ws.written);
  return status;
}

}  // namespace plexo
