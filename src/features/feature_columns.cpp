#include "features/feature_columns.h"

namespace plexo {

int FeatureColumnOfCheckBox(ControlId id) {
  for (const FeatureColumnSpec& spec : kFeatureColumnTable) {
    if (spec.checkBox == id) return spec.column;
  }
  return -1;
}

FeatureColumns FamilyColumns(FeatureFamily family) {
  FeatureColumns columns;
  for (const FeatureColumnSpec& spec : kFeatureColumnTable) {
    if (spec.family == family) columns.set(spec.column);
  }
  return columns;
}

FeatureColumns DefaultFeatureColumns() {
  FeatureColumns columns;
  for (const FeatureColumnSpec& spec : kFeatureColumnTable) {
    if (spec.byDefault) columns.set(spec.column);
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
  for (const FeatureColumnSpec& spec : kFeatureColumnTable) {
    if (!columns.test(spec.column)) continue;
    header += spec.header;
    header += '\t';
    units += spec.unit;
    units += '\t';
  }
  return header + "\n" + units + "\n";
}

}  // namespace plexo
