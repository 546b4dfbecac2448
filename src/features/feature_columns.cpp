#include "features/feature_columns.h"

namespace plexo {

const std::array<FeatureColumnSpec, kFeatureColumnCount>& FeatureColumnTable() {
  static const std::array<FeatureColumnSpec, kFeatureColumnCount> table{{
      {1105, "arrival time", "s", 14},
      {1106, "maximum signal amplitude", "V", 6},
      {1107, "signal energy", "J", 6},
      {1052, "peak frequency 1", "Hz", 6},
      {1053, "peak frequency 2", "Hz", 6},
      {1054, "peak frequency 3", "Hz", 6},
      {1055, "weighted peak frequency 1", "Hz", 6},
      {1056, "weighted peak frequency 2", "Hz", 6},
      {1057, "weighted peak frequency 3", "Hz", 6},
      {1058, "frequency centroid", "Hz", 6},
      {1059, "partial power 1", "%", 6},
      {1062, "partial power 2", "%", 6},
      {1065, "partial power 3", "%", 6},
      {1068, "partial power 4", "%", 6},
      {1071, "partial power 5", "%", 6},
      {1074, "partial power 6", "%", 6},
      {1077, "partial power 7", "%", 6},
      {1080, "partial power 8", "%", 6},
      {1086, "modulus maximus time", "s", 14},
      {1087, "modulus maximus frequency", "Hz", 6},
      {1092, "modulus maximus", "units", 6},
      // "frequeny" is how every table written so far spells it; readers match the header.
      {1089, "time-frequeny power 1", "%", 6},
      {1095, "time-frequeny power 2", "%", 6},
      {1098, "time-frequeny power 3", "%", 6},
      {1101, "time-frequeny power 4", "%", 6},
  }};
  return table;
}

FeatureColumns DefaultFeatureColumns() {
  FeatureColumns columns;
  for (int c = kColPeakAmplitude; c < kColPartialPower1 + 6; ++c) columns.set(c);
  return columns;
}

bool NeedsWaveletFeatures(const FeatureColumns& columns) {
  for (int c = kColModulusMaximumTime; c < kFeatureColumnCount; ++c) {
    if (columns.test(c)) return true;
  }
  return false;
}

std::string FeatureHeaderLines(const FeatureColumns& columns, bool withFileNames) {
  std::string header;
  std::string units;
  if (withFileNames) {
    header += "file name\t";
    units += "\t";
  }
  const auto& table = FeatureColumnTable();
  for (int c = 0; c < kFeatureColumnCount; ++c) {
    if (!columns.test(c)) continue;
    header += table[c].header;
    header += '\t';
    units += table[c].unit;
    units += '\t';
  }
  return header + "\n" + units + "\n";
}

}  // namespace plexo
