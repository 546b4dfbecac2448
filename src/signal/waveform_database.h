#pragma once
// Transient-record databases (.tradb): the SQLite files in which current acquisition software
// keeps its waveforms, one row of `tr_data` per record. The database is opened read-only and
// never modified; the samples are int16 values, stored raw (little endian) or as a FLAC stream,
// scaled to volts by the record's `tr_params` row.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "signal/waveform.h"

struct sqlite3;
struct sqlite3_stmt;

namespace plexo {

// A record as listed: enough to choose it and to read it later.
struct DatabaseRecordInfo {
  std::int64_t rowId = 0;  // SetID, the table's row id
  std::int64_t trai = 0;   // the transient record index the hit list refers to
  int channel = 0;
};

// Which records to take: TRAI from first to last (inclusive) and one channel or every channel.
struct RecordSelection {
  std::int64_t traiFirst = std::numeric_limits<std::int64_t>::min();
  std::int64_t traiLast = std::numeric_limits<std::int64_t>::max();
  int channel = 0;  // 0: every channel
};

// One record read: its samples in volts and what places them in time.
struct DatabaseRecord {
  std::int64_t trai = 0;
  int channel = 0;
  std::int64_t sampleRate = 0;  // samples per second
  std::int64_t pretrigger = 0;  // samples recorded before the trigger
  double triggerTime = 0.0;     // s since the start of the acquisition
  std::vector<double> volts;

  double SampleInterval() const { return 1.0 / static_cast<double>(sampleRate); }
  // The time of the record's first sample: the trigger time less the pretrigger samples.
  double FirstSampleTime() const {
    return triggerTime - static_cast<double>(pretrigger) * SampleInterval();
  }
};

// "TRAI 17": how messages name a record.
std::string RecordName(std::int64_t trai);

// True when the path names a waveform database by its extension (".tradb", any letter case).
bool IsWaveformDatabasePath(const std::string& path);

// A read-only connection to one database. Not shared between threads: each thread opens its own.
class WaveformDatabase {
 public:
  WaveformDatabase() = default;
  WaveformDatabase(const WaveformDatabase&) = delete;
  WaveformDatabase& operator=(const WaveformDatabase&) = delete;
  ~WaveformDatabase();

  // Opens a regular file read-only and checks that it holds the tables of a transient-record
  // database with a positive time base. False with `why` (a sentence naming the file) otherwise.
  bool Open(const std::string& path, std::string& why);
  const std::string& Path() const { return path_; }
  // The ticks per second of the `Time` column.
  double TimeBase() const { return timeBase_; }

  // The selected records in TRAI order (row id for equal TRAIs). False with `why` when the
  // table cannot be read.
  bool List(const RecordSelection& selection, std::vector<DatabaseRecordInfo>& records,
            std::string& why);

  // Reads the record of a row id into `record` (its vector reused). False with `why` naming the
  // record when it cannot be used: an unknown data format, a blob shorter or longer than its
  // sample count, a FLAC stream that does not decode to that count of 16-bit mono samples, no
  // `tr_params` row for its ParamID, a sample rate that is not positive.
  bool Read(std::int64_t rowId, DatabaseRecord& record, std::string& why);

 private:
  void Close();
  std::string Problem(const char* what) const;

  std::string path_;
  sqlite3* db_ = nullptr;
  sqlite3_stmt* readRecord_ = nullptr;
  double timeBase_ = 0.0;
  std::vector<std::int16_t> decoded_;
};

}  // namespace plexo
