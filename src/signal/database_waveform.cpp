#include "signal/database_waveform.h"

#include <algorithm>
#include <climits>

namespace plexo {
namespace {

// The header an imported file gives back: the reader keeps the tab after "DATE:", "TIME:" and
// "UNITS:" (the DATE and TIME lines are empty after it).
void FillHeader(const DatabaseRecord& record, WaveformHeader& header) {
  header = WaveformHeader{record.channel,
                          record.FirstSampleTime(),
                          record.SampleInterval(),
                          std::string("\tvolts"),
                          std::string(1, '\t'),
                          std::string(1, '\t'),
                          -1};
}

template <typename Form, typename Store>
int ReadInto(WaveformDatabase& db, const DatabaseRecordInfo& info, DatabaseRecord& workspace,
             Form& wf, int limit, std::string& why, Store store) {
  static_cast<WaveformHeader&>(wf) = WaveformHeader{};
  wf.readProblem.clear();
  wf.count = 0;
  if (!db.Read(info.rowId, workspace, why)) {
    wf.count = -1;
    return -1;
  }
  FillHeader(workspace, wf);
  const size_t n = workspace.volts.size();
  const size_t stored = std::min(n, static_cast<size_t>(std::clamp(limit, 0, kLargestSampleLimit)));
  const size_t room = static_cast<size_t>(SampleRoom(static_cast<int>(stored)));
  if (wf.samples.size() < room) wf.samples.resize(room);
  for (size_t i = 0; i < stored; ++i) store(wf, i, i == 0 ? 0.0 : workspace.volts[i]);
  wf.count = static_cast<int>(std::min(n, static_cast<size_t>(INT_MAX)));
  return wf.count;
}

}  // namespace

int ReadDatabaseWaveform(WaveformDatabase& db, const DatabaseRecordInfo& info,
                         DatabaseRecord& workspace, Waveform& wf, std::string& why) {
  return ReadInto(db, info, workspace, wf, wf.limit, why, [](Waveform& w, size_t i, double v) {
    w.samples[i] = Complex{v, 0.0};
  });
}

int ReadDatabaseWaveformReal(WaveformDatabase& db, const DatabaseRecordInfo& info,
                             DatabaseRecord& workspace, RealWaveform& wf, std::string& why) {
  return ReadInto(db, info, workspace, wf, MAX_SAMPLES, why,
                  [](RealWaveform& w, size_t i, double v) { w.samples[i] = v; });
}

}  // namespace plexo
