// Reads records with two prepared statements: one listing, one fetching a record by row id with
// its scale from tr_params. Nothing is ever written: the connection is opened read-only.
#include "signal/waveform_database.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstring>

#include "platform/file_system.h"
#include "signal/flac_blob.h"

namespace plexo {
namespace {

constexpr int kRawFormat = 0;
constexpr int kFlacFormat = 2;

// The statement's reset and release on every path out of a function.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    rc_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  bool ok() const { return rc_ == SQLITE_OK; }
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int rc_ = SQLITE_ERROR;
};

}  // namespace

std::string RecordName(std::int64_t trai) { return "TRAI " + std::to_string(trai); }

bool IsWaveformDatabasePath(const std::string& path) {
  return LowerCaseExtension(path) == ".tradb";
}

WaveformDatabase::~WaveformDatabase() { Close(); }

void WaveformDatabase::Close() {
  sqlite3_finalize(readRecord_);
  readRecord_ = nullptr;
  sqlite3_close(db_);
  db_ = nullptr;
}

std::string WaveformDatabase::Problem(const char* what) const {
  return path_ + ": " + what + " (" + (db_ ? sqlite3_errmsg(db_) : "no connection") + ")";
}

bool WaveformDatabase::Open(const std::string& path, std::string& why) {
  Close();
  path_ = path;
  // SQLite would block on a pipe and read a folder as an empty database: only regular files.
  std::string notRegular;
  const int fd = OpenRegularFile(path, &notRegular);
  if (fd < 0) {
    why = path + ": " + notRegular;
    return false;
  }
  ::close(fd);
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) !=
      SQLITE_OK) {
    why = Problem("cannot be opened as a database");
    Close();
    return false;
  }
  {
    Statement timeBase(db_, "SELECT Value FROM tr_globalinfo WHERE Key = 'TimeBase'");
    if (!timeBase.ok()) {
      why = Problem("is not a waveform database");
      Close();
      return false;
    }
    timeBase_ = 0.0;
    if (sqlite3_step(timeBase.get()) == SQLITE_ROW) {
      timeBase_ = sqlite3_column_double(timeBase.get(), 0);
    }
    if (!(timeBase_ > 0.0)) {
      why = path + ": the database gives no positive TimeBase (tr_globalinfo)";
      Close();
      return false;
    }
  }
  const char* sql =
      "SELECT d.TRAI, d.Chan, d.Time, d.Pretrigger, d.SampleRate, d.Samples, d.DataFormat, "
      "d.Data, p.TR_mV FROM tr_data d LEFT JOIN tr_params p ON p.ID = d.ParamID "
      "WHERE d.SetID = ?";
  if (sqlite3_prepare_v2(db_, sql, -1, &readRecord_, nullptr) != SQLITE_OK) {
    why = Problem("is not a waveform database");
    Close();
    return false;
  }
  return true;
}

bool WaveformDatabase::List(const RecordSelection& selection,
                            std::vector<DatabaseRecordInfo>& records, std::string& why) {
  records.clear();
  Statement list(db_,
                 "SELECT SetID, TRAI, Chan FROM tr_data WHERE TRAI BETWEEN ?1 AND ?2 "
                 "AND (?3 = 0 OR Chan = ?3) ORDER BY TRAI, SetID");
  if (!list.ok()) {
    why = Problem("cannot be listed");
    return false;
  }
  sqlite3_bind_int64(list.get(), 1, selection.traiFirst);
  sqlite3_bind_int64(list.get(), 2, selection.traiLast);
  sqlite3_bind_int(list.get(), 3, selection.channel);
  int rc;
  while ((rc = sqlite3_step(list.get())) == SQLITE_ROW) {
    records.push_back({sqlite3_column_int64(list.get(), 0), sqlite3_column_int64(list.get(), 1),
                       sqlite3_column_int(list.get(), 2)});
  }
  if (rc != SQLITE_DONE) {
    why = Problem("cannot be listed");
    records.clear();
    return false;
  }
  return true;
}

bool WaveformDatabase::Read(std::int64_t rowId, DatabaseRecord& record, std::string& why) {
  sqlite3_stmt* s = readRecord_;
  sqlite3_reset(s);
  sqlite3_bind_int64(s, 1, rowId);
  const int rc = sqlite3_step(s);
  if (rc != SQLITE_ROW) {
    why = rc == SQLITE_DONE ? path_ + ": no record with SetID " + std::to_string(rowId)
                            : Problem("cannot be read");
    return false;
  }
  record.trai = sqlite3_column_int64(s, 0);
  record.channel = sqlite3_column_int(s, 1);
  record.triggerTime = static_cast<double>(sqlite3_column_int64(s, 2)) / timeBase_;
  record.pretrigger = sqlite3_column_int64(s, 3);
  record.sampleRate = sqlite3_column_int64(s, 4);
  const std::int64_t count = sqlite3_column_int64(s, 5);
  const int format = sqlite3_column_int(s, 6);
  const auto* blob = static_cast<const std::uint8_t*>(sqlite3_column_blob(s, 7));
  const std::size_t bytes = static_cast<std::size_t>(sqlite3_column_bytes(s, 7));
  const std::string name = path_ + ": " + RecordName(record.trai);
  if (sqlite3_column_type(s, 8) == SQLITE_NULL) {
    why = name + ": no tr_params row for its ParamID (no volts scale)";
    return false;
  }
  const double millivolts = sqlite3_column_double(s, 8);
  if (record.sampleRate <= 0) {
    why = name + ": a sample rate that is not positive (" + std::to_string(record.sampleRate) + ")";
    return false;
  }
  if (count < 0 || count > (std::int64_t{1} << 31)) {
    why = name + ": an impossible sample count (" + std::to_string(count) + ")";
    return false;
  }
  const auto n = static_cast<std::size_t>(count);
  record.volts.resize(n);
  if (format == kRawFormat) {
    if (bytes != 2 * n) {
      why = name + ": " + std::to_string(bytes) + " bytes of raw samples where " +
            std::to_string(count) + " samples take " + std::to_string(2 * n);
      return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
      // Little endian whatever the machine.
      const auto value =
          static_cast<std::int16_t>(static_cast<std::uint16_t>(blob[2 * i]) |
                                    static_cast<std::uint16_t>(blob[2 * i + 1]) << 8);
      record.volts[i] = static_cast<double>(value) * millivolts / 1000.0;
    }
  } else if (format == kFlacFormat) {
    std::string flacProblem;
    if (!DecodeFlacBlob(blob, bytes, decoded_, flacProblem)) {
      why = name + ": " + flacProblem;
      return false;
    }
    if (decoded_.size() != n) {
      why = name + ": the FLAC stream holds " + std::to_string(decoded_.size()) +
            " samples where the record says " + std::to_string(count);
      return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
      record.volts[i] = static_cast<double>(decoded_[i]) * millivolts / 1000.0;
    }
  } else {
    why = name + ": data format " + std::to_string(format) +
          " is none this program reads (0 raw, 2 FLAC)";
    return false;
  }
  return true;
}

}  // namespace plexo
