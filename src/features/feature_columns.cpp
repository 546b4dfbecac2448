#include "features/feature_columns.h"

namespace plexo {

int FeatureColumnOfCheckBox(ControlId id) {
  for (const FeatureColumnEntry& entry : kFeatureColumnTable) {
    if (entry.checkBox == id) return entry.column;
  }
  return -1;
}

FeatureColumns FamilyColumns(FeatureFamily family) {
  FeatureColumns columns;
  for (const FeatureColumnEntry& entry : kFeatureColumnTable) {
    if (entry.family == family) columns.set(entry.column);
  }
  return columns;
}

FeatureColumns DefaultFeatureColumns() {
  FeatureColumns columns;
  for (const FeatureColumnEntry& entry : kFeatureColumnTable) {
    if (entry.byDefault) columns.set(entry.column);
  }
  return columns;
}

bool NeedsWaveletFeatures(const FeatureColumns& columns) {
  return (columns & FamilyColumns(FeatureFamily::kWavelet)).any();
}

std::string FeatureHeaderLines(const FeatureColumns& columns, bool withFileNames) {
  std::string header;
  std::string units;
  if (withFileNames) {
    header += "file name\t";
    units += "\t";
  }
  for (const FeatureColumnEntry& entry : kFeatureColumnTable) {
    if (!columns.test(entry.column)) continue;
    header += entry.header;
    header += '\t';
    units += entry.unit;
    units += '\t';
  }
  return header + "\n" + units + "\n";
}

}  // namespace plexo
