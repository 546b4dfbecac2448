#include "import/database_import.h"

#include <filesystem>

namespace plexo {

std::string DatabaseRecordFileName(const std::string& database, std::int64_t trai) {
  return std::filesystem::path(database).stem().string() + "_" + std::to_string(trai) + ".txt";
}

ExportContents DatabaseRecordContents(WaveformDatabase& db, const DatabaseRecordInfo& info,
                                      DatabaseRecord& workspace) {
  ExportContents contents;
  contents.kind = ExportKind::kDatabaseRecord;
  std::string why;
  if (!db.Read(info.rowId, workspace, why)) {
    contents.error = why;
    return contents;
  }
  contents.header.sampleInterval = workspace.SampleInterval();
  contents.header.channel = workspace.channel;
  contents.header.timeOfTest = workspace.FirstSampleTime();
  contents.header.units = std::string(kDefaultUnits);
  contents.header.hitNumber = workspace.trai;
  contents.hitNumber = workspace.trai;
  contents.samples = workspace.volts;
  return contents;
}

}  // namespace plexo
