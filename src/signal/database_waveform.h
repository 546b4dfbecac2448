#pragma once
// A database record read as a calculation reads a waveform: exactly the waveform that the
// record's imported file reads back as, so that a batch over a database and a batch over its
// imported files give the same bytes.
#include <string>

#include "signal/waveform.h"
#include "signal/waveform_database.h"

namespace plexo {

// Reads the record into `wf` (header replaced; the first wf.limit samples stored, the first
// of them as 0, as the waveform reader stores the line two after "TIME OF TEST"). Returns the
// record's sample count, or -1 with `why` naming the database and the TRAI. `workspace` holds
// the record between calls (one per thread).
int ReadDatabaseWaveform(WaveformDatabase& db, const DatabaseRecordInfo& info,
                         DatabaseRecord& workspace, Waveform& wf, std::string& why);
// The same with real samples.
int ReadDatabaseWaveformReal(WaveformDatabase& db, const DatabaseRecordInfo& info,
                             DatabaseRecord& workspace, RealWaveform& wf, std::string& why);

}  // namespace plexo
