#include "signal/waveform_source.h"

#include "platform/file_system.h"
#include "signal/database_waveform.h"
#include "signal/waveform_file.h"

namespace plexo {

WaveformFiles::WaveformFiles(const std::vector<std::string>& paths) {
  inputs_.reserve(paths.size());
  for (const std::string& path : paths) inputs_.push_back({FileName(path), path});
}

int WaveformFiles::Read(int k, Waveform& wf) const { return ReadWaveform(Label(k), wf); }

// One read-only connection and the record it last read (its sample vector reused).
struct DatabaseWaveforms::Connection {
  WaveformDatabase db;
  DatabaseRecord record;
};

DatabaseWaveforms::DatabaseWaveforms() = default;
DatabaseWaveforms::~DatabaseWaveforms() = default;

bool DatabaseWaveforms::Open(const std::string& path, const RecordSelection& selection,
                             std::string& why) {
  path_ = path;
  records_.clear();
  inputs_.clear();
  idle_.clear();
  auto connection = std::make_unique<Connection>();
  if (!connection->db.Open(path, why) || !connection->db.List(selection, records_, why))
    return false;
  inputs_.reserve(records_.size());
  for (const DatabaseRecordInfo& record : records_)
    inputs_.push_back({std::to_string(record.trai), path + ": " + RecordName(record.trai)});
  idle_.push_back(std::move(connection));
  return true;
}

std::unique_ptr<DatabaseWaveforms::Connection> DatabaseWaveforms::Take(std::string& why) const {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!idle_.empty()) {
      std::unique_ptr<Connection> connection = std::move(idle_.back());
      idle_.pop_back();
      return connection;
    }
  }
  // Opened outside the lock: another thread may read meanwhile.
  auto connection = std::make_unique<Connection>();
  if (!connection->db.Open(path_, why)) return nullptr;
  return connection;
}

void DatabaseWaveforms::Give(std::unique_ptr<Connection> connection) const {
  std::lock_guard<std::mutex> lock(mutex_);
  idle_.push_back(std::move(connection));
}

int DatabaseWaveforms::Read(int k, Waveform& wf) const {
  std::string why;
  std::unique_ptr<Connection> connection = Take(why);
  if (connection == nullptr) {
    static_cast<WaveformHeader&>(wf) = WaveformHeader{};
    wf.count = -1;
    wf.readProblem = why;
    return -1;
  }
  const int count = ReadDatabaseWaveform(connection->db, records_[static_cast<size_t>(k)],
                                         connection->record, wf, why);
  Give(std::move(connection));
  if (count < 0) {
    wf.readProblem = why;
  } else if (count == 0) {
    // A row of zeros would look like a measurement: the record is refused by name.
    wf.readProblem = Label(k) + ": the record holds no samples";
  }
  return count;
}

std::unique_ptr<WaveformSource> ListWaveformSource(const std::string& input, std::string& why) {
  if (IsWaveformDatabasePath(input)) {
    auto database = std::make_unique<DatabaseWaveforms>();
    if (!database->Open(input, RecordSelection{}, why)) return nullptr;
    return database;
  }
  std::vector<std::string> files;
  if (std::string reason; !ListTxtFiles(input, files, reason)) {
    why = FolderNotListedMessage(input, reason);
    return nullptr;
  }
  return std::make_unique<WaveformFiles>(files);
}

std::unique_ptr<WaveformSource> ReopenWaveformSource(const std::string& input,
                                                     const std::vector<std::string>& labels,
                                                     std::string& why) {
  if (!IsWaveformDatabasePath(input)) return std::make_unique<WaveformFiles>(labels);
  std::unique_ptr<WaveformSource> source = ListWaveformSource(input, why);
  if (source == nullptr) return nullptr;
  bool same = source->Count() == static_cast<int>(labels.size());
  for (int k = 0; same && k < source->Count(); ++k) same = source->Label(k) == labels[k];
  if (same) return source;
  why = input + ": the database lists other records here than on the first process";
  return nullptr;
}

std::string BatchResultFolder(const std::string& input, const std::string& kind) {
  if (!IsWaveformDatabasePath(input)) return JoinPath(input, kind);
  return JoinPath(ParentFolder(input), FileName(PathWithoutExtension(input)) + "_" + kind);
}

}  // namespace plexo
