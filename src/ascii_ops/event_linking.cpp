// Event linking: the files of one event (prefix<channel>_<event>.txt) joined into one table, each
// channel delayed by its arrival time after the first hit.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

#include "ascii_ops/collection_operators.h"
#include "ascii_ops/operator_folder.h"
#include "platform/file_system.h"
#include "signal/number_text.h"
#include "signal/waveform.h"

namespace plexo {
namespace {

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
  if (suffix.size() > text.size()) return false;
  return std::equal(suffix.rbegin(), suffix.rend(), text.rbegin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

// The first file, in folder order, whose name ends in "<channel>_<event>.txt" (the search
// "*<channel>_<event>.txt", so "*1_1.txt" also finds channel 11); empty when none.
std::string FindChannelFile(const std::vector<std::string>& files, int channel, int event) {
  const std::string suffix = FormatD(channel) + "_" + FormatD(event) + ".txt";
  for (const std::string& file : files) {
    if (EndsWithNoCase(FileNameOf(file), suffix)) return file;
  }
  return {};
}

// The delay of a channel in rows: rounded to the nearest row, halves away from zero. A delay
// that is no number (equal times over a zero interval) is none; one beyond the table moves the
// whole column out of it.
int DelayRows(double arrival, double first, double dt) {
  const double rows = std::round((arrival - first) / dt);
  if (std::isnan(rows)) return 0;
  return static_cast<int>(std::clamp(rows, -double(MAX_SAMPLES), double(MAX_SAMPLES)));
}

}  // namespace

std::string EventName(int event) {
  std::string name = FormatD(event);
  if (name.size() < 8) name.insert(0, 8 - name.size(), '0');
  return name;
}

CalcStatus EventLinking(AsciiWorkspace& ws, const std::string& folder, CalcProgress& progress,
                        Host& host) {
  ws.written.clear();
  std::vector<std::string> files;
  if (!ListOperatorFiles(folder, host, files)) return CalcStatus::kRefused;
  MakeDirectory(ConvDataFolder(folder));  // a failure shows when the tables are written

  // Channels 1, 2, ... as long as each has a file of event 1.
  int channels = 0;
  while (channels < kMaxLinkedChannels && !FindChannelFile(files, channels + 1, 1).empty())
    ++channels;

  const std::string first = FindChannelFile(files, 1, 1);
  if (first.empty()) return CalcStatus::kRefused;
  double dt = 0.0;
  double t = 0.0;
  int channel = 0;
  const int c = ReadAsciiWaveform(first, ws.samples, dt, t, channel);
  if (c == -1) return CalcStatus::kRefused;
  if (c > MAX_SAMPLES) {
    host.MessageBox(SamplingSizeMessage(c));
    return CalcStatus::kRefused;
  }
  // Every run starts from empty tables; within a run a channel without a file for an event
  // keeps the previous event's data.
  ws.input.Resize(MAX_SAMPLES);
  ws.output.Resize(MAX_SAMPLES);
  for (int i = 0; i < c; ++i) ws.input.At(i, 0) = i * dt;

  const int events = static_cast<int>(files.size()) / channels;
  progress.SetRange(0, events);
  double arrival[LinkTable::kColumns] = {};
  bool write_failed = false;
  for (int k = 1; k <= events; ++k) {
    if (progress.StopRequested()) return CalcStatus::kStopped;
    for (int L = 1; L <= channels; ++L) {
      const std::string file = FindChannelFile(files, L, k);
      if (file.empty()) continue;
      double time = 0.0;
      double interval = 0.0;  // the first file's interval holds for every event
      const int count = ReadAsciiWaveform(file, ws.samples, interval, time, channel);
      if (count == -1) continue;
      // Samples the file does not have are 0, not those of an earlier, longer file.
      std::fill(ws.samples.begin() + std::clamp(count, 0, MAX_SAMPLES), ws.samples.end(), 0.0);
      arrival[L] = time;
      for (int i = 0; i < MAX_SAMPLES; ++i) {
        ws.input.At(i, L) = ws.samples[i];
        ws.output.At(i, L) = 0.0;
      }
    }

    // The first hit: the earliest channel, the first of equals.
    const double m = arrival[1];
    int d = 1;
    for (int L = 1; L <= channels; ++L) {
      if (arrival[L] < arrival[d]) d = L;
    }
    for (int L = 0; L <= channels; ++L) {
      const int s = (L == 0 || L == d) ? 0 : DelayRows(arrival[L], m, dt);
      // Rows shifted outside the table are dropped.
      const int begin = std::max(0, -s);
      const int end = std::min(MAX_SAMPLES, MAX_SAMPLES - s);
      for (int i = begin; i < end; ++i) ws.output.At(i + s, L) = ws.input.At(i, L);
    }

    const std::string path = JoinPath(ConvDataFolder(folder), EventName(k) + ".txt");
    std::string error;
    if (WriteTable(path, ws.output, c, channels, &error)) {
      ws.written.push_back(path);
    } else if (!write_failed) {
      write_failed = true;
      // Once, not for every event: a full disk would otherwise ask for a click per event.
      host.MessageBox(error);
    }
    progress.SetPos(k);
  }
  return write_failed ? CalcStatus::kFailed : CalcStatus::kDone;
}

}  // namespace plexo
