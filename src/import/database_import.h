#pragma once
// The records of a waveform database as imports: each record becomes the contents of one
// waveform file, named after the database and the record's TRAI.
#include <cstdint>
#include <string>

#include "import/export_reader.h"
#include "signal/waveform_database.h"

namespace plexo {

// "<database stem>_<TRAI>.txt".
std::string DatabaseRecordFileName(const std::string& database, std::int64_t trai);

// The record as an import: samples in volts, sample interval 1/SampleRate, the channel, the
// TRAI as hit number, and as time of test the time of the first sample (the trigger time less
// the pretrigger samples). `contents.error` holds the reason when the record cannot be read.
ExportContents DatabaseRecordContents(WaveformDatabase& db, const DatabaseRecordInfo& info,
                                      DatabaseRecord& workspace);

}  // namespace plexo
