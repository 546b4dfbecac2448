#pragma once
// Makes small transient-record databases for tests: the tables and columns acquisition software
// writes, records stored raw or as FLAC streams made by libFLAC's encoder.
#include <FLAC/stream_encoder.h>
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

namespace plexo::testing {

enum class BlobKind { kRaw, kFlac };

struct MadeRecord {
  std::int64_t trai = 1;
  int channel = 1;
  std::int64_t time = 0;  // ticks of the time base
  int pretrigger = 0;
  int sampleRate = 5000000;
  int paramId = 1;
  std::vector<std::int16_t> values;
  BlobKind kind = BlobKind::kRaw;
  int dataFormat = -1;    // -1: 0 for raw, 2 for FLAC
  int samplesField = -1;  // -1: values.size()
  std::string blob;       // when not empty, stored as it is
};

inline FLAC__StreamEncoderWriteStatus AppendFlac(const FLAC__StreamEncoder*, const FLAC__byte b[],
                                                 size_t bytes, uint32_t, uint32_t, void* out) {
  static_cast<std::string*>(out)->append(reinterpret_cast<const char*>(b), bytes);
  return FLAC__STREAM_ENCODER_WRITE_STATUS_OK;
}

// A FLAC stream of one 16-bit channel with a dummy sample rate, as acquisition software writes.
inline std::string FlacOf(const std::vector<std::int16_t>& values) {
  std::string out;
  FLAC__StreamEncoder* e = FLAC__stream_encoder_new();
  FLAC__stream_encoder_set_channels(e, 1);
  FLAC__stream_encoder_set_bits_per_sample(e, 16);
  FLAC__stream_encoder_set_sample_rate(e, 44100);
  FLAC__stream_encoder_init_stream(e, AppendFlac, nullptr, nullptr, nullptr, &out);
  std::vector<FLAC__int32> wide(values.begin(), values.end());
  FLAC__stream_encoder_process_interleaved(e, wide.data(), static_cast<uint32_t>(wide.size()));
  FLAC__stream_encoder_finish(e);
  FLAC__stream_encoder_delete(e);
  return out;
}

inline std::string RawOf(const std::vector<std::int16_t>& values) {
  std::string out;
  for (std::int16_t v : values) {
    const auto u = static_cast<std::uint16_t>(v);
    out.push_back(static_cast<char>(u & 0xff));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}

// Writes `path` (replaced) with the given records; params maps ParamID to TR_mV (ID 1 -> mV).
inline void MakeDatabase(const std::string& path, const std::vector<MadeRecord>& records,
                         const std::vector<std::pair<int, double>>& params = {{1, 0.0030517578125}},
                         const char* timeBase = "10000000") {
  std::remove(path.c_str());
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db,
               "CREATE TABLE tr_globalinfo (Key TEXT, Value TEXT);"
               "CREATE TABLE tr_params (ID INTEGER PRIMARY KEY, SetupID INT, Chan INT, "
               "\"ADC_\xC2\xB5V\" REAL, TR_mV REAL);"
               "CREATE TABLE tr_data (\"SetID\" INTEGER PRIMARY KEY,\"Time\" INT,\"TRAI\" INT,"
               "\"Status\" INT,\"ParamID\" INT,\"Chan\" INT,\"Pretrigger\" INT,\"Thr\" INT,"
               "\"SampleRate\" INT,\"Samples\" INT,\"DataFormat\" INT,\"Data\" BLOB);",
               nullptr, nullptr, nullptr);
  if (timeBase != nullptr) {
    sqlite3_exec(db,
                 ("INSERT INTO tr_globalinfo VALUES ('Version', '1'), ('TimeBase', '" +
                  std::string(timeBase) + "')")
                     .c_str(),
                 nullptr, nullptr, nullptr);
  }
  for (const auto& [id, mv] : params) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO tr_params VALUES (?, 1, 1, ?, ?)", -1, &s, nullptr);
    sqlite3_bind_int(s, 1, id);
    sqlite3_bind_double(s, 2, mv * 1000.0);
    sqlite3_bind_double(s, 3, mv);
    sqlite3_step(s);
    sqlite3_finalize(s);
  }
  for (const MadeRecord& r : records) {
    const std::string blob =
        !r.blob.empty() ? r.blob : (r.kind == BlobKind::kRaw ? RawOf(r.values) : FlacOf(r.values));
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO tr_data VALUES (NULL, ?, ?, 32768, ?, ?, ?, 66, ?, ?, ?, ?)",
                       -1, &s, nullptr);
    sqlite3_bind_int64(s, 1, r.time);
    sqlite3_bind_int64(s, 2, r.trai);
    sqlite3_bind_int(s, 3, r.paramId);
    sqlite3_bind_int(s, 4, r.channel);
    sqlite3_bind_int(s, 5, r.pretrigger);
    sqlite3_bind_int(s, 6, r.sampleRate);
    sqlite3_bind_int(s, 7,
                     r.samplesField >= 0 ? r.samplesField : static_cast<int>(r.values.size()));
    sqlite3_bind_int(s, 8, r.dataFormat >= 0 ? r.dataFormat : (r.kind == BlobKind::kRaw ? 0 : 2));
    sqlite3_bind_blob(s, 9, blob.data(), static_cast<int>(blob.size()), SQLITE_TRANSIENT);
    sqlite3_step(s);
    sqlite3_finalize(s);
  }
  sqlite3_close(db);
}

// Deterministic int16 values over the whole range, extremes included.
inline std::vector<std::int16_t> TestValues(int n, int seed) {
  std::vector<std::int16_t> v(static_cast<size_t>(n));
  std::uint32_t x = 2463534242u + static_cast<std::uint32_t>(seed);
  for (int i = 0; i < n; ++i) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    v[static_cast<size_t>(i)] = static_cast<std::int16_t>(x & 0xffff);
  }
  if (n > 2) {
    v[1] = -32768;
    v[2] = 32767;
  }
  return v;
}

}  // namespace plexo::testing
