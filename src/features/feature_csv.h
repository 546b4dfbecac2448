#pragma once
// The feature results table as comma-separated text (FXData/FX_Results.csv): one header row of
// the .txt table's titles with their units ("signal energy [J]"), then one row per waveform with
// the .txt table's cells, digit for digit. See signal/csv_text.h for the layout.
#include <string>

#include "features/feature_columns.h"
#include "features/feature_values.h"

namespace plexo {

// The header row, CR LF included.
std::string FeatureCsvHeader(const FeatureColumns& columns, bool withFileNames);

// Appends one data row, CR LF included; the file name, when given, first and quoted as needed.
void AppendFeatureCsvRow(std::string& out, const FeatureValues& values,
                         const FeatureColumns& columns, const std::string* fileName);

}  // namespace plexo
