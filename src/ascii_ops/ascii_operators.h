#pragma once
// What the conversion progress dialog starts: the operator of a mode (101 to 106) on the folder
// or listing the user chose. The desktop hands the dialog the real operators; tests a recorder.
#include <memory>
#include <string>

#include "ascii_ops/collection_operators.h"
#include "platform/host.h"
#include "signal/calc_mode.h"

namespace plexo {

// Modes 101 to 106: the ones the conversion progress dialog runs.
inline bool IsAsciiOperatorMode(CalcMode mode) {
  return mode >= CalcMode::kAccumulate && mode <= CalcMode::kSplit;
}
// The two conversions take a listing file; the other operators a folder.
inline bool TakesListingFile(CalcMode mode) {
  return mode == CalcMode::kAewinToAscii || mode == CalcMode::kVisualAeToAscii;
}

class AsciiOperators {
 public:
  virtual ~AsciiOperators() = default;
  // `path` is the folder (collection operators) or the listing (conversions).
  virtual CalcStatus Run(CalcMode mode, const std::string& path, CalcProgress& progress,
                         Host& host) = 0;
};

class RealAsciiOperators : public AsciiOperators {
 public:
  CalcStatus Run(CalcMode mode, const std::string& path, CalcProgress& progress,
                 Host& host) override;

 private:
  // Allocated on first use.
  std::unique_ptr<AsciiWorkspace> workspace_;
};

}  // namespace plexo
