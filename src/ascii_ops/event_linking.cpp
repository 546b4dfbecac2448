// Event linking: the files of one event (prefix<channel>_<event>.txt) joined into one table, each
// channel delayed by its arrival time after the first hit.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <vector>

#include "ascii_ops/collection_operators.h"
#include "ascii_ops/operator_folder.h"
#include "platform/file_system.h"
#include "signal/number_text.h"
#include "signal/waveform.h"

namespace plexo {
namespace {

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

// The channel and event of a name <prefix><channel>_<event>.txt, each the whole run of digits
// (ch11_1.txt is channel 11, not 1). False for a name of another form or numbers beyond int.
bool ParseLinkName(const std::string& name, int& channel, int& event) {
  if (name.size() < 4) return false;
  std::string lower = name.substr(name.size() - 4);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower != ".txt") return false;
  const std::string stem = name.substr(0, name.size() - 4);
  const size_t underscore = stem.find_last_of('_');
  if (underscore == std::string::npos || underscore + 1 == stem.size()) return false;
  const std::string event_text = stem.substr(underscore + 1);
  if (!std::all_of(event_text.begin(), event_text.end(), IsDigitChar)) return false;
  size_t digits = underscore;
  while (digits > 0 && IsDigitChar(stem[digits - 1])) --digits;
  if (digits == underscore) return false;
  const std::string channel_text = stem.substr(digits, underscore - digits);
  if (channel_text.size() > 9 || event_text.size() > 9) return false;
  channel = std::stoi(channel_text);
  event = std::stoi(event_text);
  return channel >= 1 && event >= 1;
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
  std::vector<std::string> files;
  if (!StartOperatorRun(ws, folder, host, files)) return CalcStatus::kRefused;

  // event -> channel -> file; the first file in folder order wins a (channel, event) pair.
  std::map<int, std::map<int, std::string>> events;
  for (const std::string& file : files) {
    int channel = 0;
    int event = 0;
    if (!ParseLinkName(FileName(file), channel, event)) {
      if (!SkipFile(ws, host, file + ": not named <prefix><channel>_<event>.txt!"))
        return CalcStatus::kRefused;
    } else if (channel > kMaxLinkedChannels) {
      if (!SkipFile(ws, host,
                    file + ": channel " + FormatD(channel) + " is above the limit of " +
                        FormatD(kMaxLinkedChannels) + " channels!"))
        return CalcStatus::kRefused;
    } else if (!events[event].emplace(channel, file).second) {
      if (!SkipFile(ws, host,
                    file + ": a second file of channel " + FormatD(channel) + ", event " +
                        FormatD(event) + "!"))
        return CalcStatus::kRefused;
    }
  }
  // The channels: every channel that any event has, 1 to the highest.
  int channels = 0;
  for (const auto& [event, by_channel] : events) {
    if (!by_channel.empty()) channels = std::max(channels, by_channel.rbegin()->first);
  }
  const auto first_event = events.find(1);
  if (first_event == events.end() || first_event->second.count(1) == 0) {
    host.MessageBox("No waveform file of channel 1, event 1 (<prefix>1_1.txt) in " + folder +
                    ": nothing written.");
    return CalcStatus::kRefused;
  }
  const std::string first = first_event->second.at(1);
  double dt = 0.0;
  double t = 0.0;
  int channel = 0;
  std::string problem;
  const int c = ReadAsciiWaveform(first, ws.samples, dt, t, channel, &problem);
  if (const std::string why = OperatorReadProblem(first, c, problem); !why.empty()) {
    host.MessageBox(why);
    return CalcStatus::kRefused;
  }
  if (c > MAX_SAMPLES) {
    host.MessageBox(SamplingSizeMessage(c) + "\n" + first);
    return CalcStatus::kRefused;
  }
  if (!(dt > 0.0)) {
    host.MessageBox(first + ": no positive sample interval (\"SAMPLE INTERVAL\" line)!");
    return CalcStatus::kRefused;
  }
  MakeDirectory(ConvDataFolder(folder));  // a failure shows when the tables are written
  ws.input.Resize(MAX_SAMPLES);
  ws.output.Resize(MAX_SAMPLES);
  for (int i = 0; i < c; ++i) ws.input.At(i, 0) = i * dt;

  progress.SetRange(0, static_cast<int>(events.size()));
  bool write_failed = false;
  int done = 0;
  for (const auto& [k, by_channel] : events) {
    if (progress.StopRequested()) return CalcStatus::kStopped;
    progress.SetPos(++done);
    // Every channel of the table is read for this event: a table never holds a channel that
    // was not read, nor another event's data.
    std::string missing;
    for (int L = 1; L <= channels; ++L) {
      if (by_channel.count(L) == 0) missing += (missing.empty() ? "" : ", ") + FormatD(L);
    }
    if (!missing.empty()) {
      if (!SkipFile(ws, host,
                    "Event " + FormatD(k) + ": no file of channel " + missing +
                        ", the event is not written!"))
        return CalcStatus::kRefused;
      continue;
    }
    double arrival[LinkTable::kColumns] = {};
    std::string unreadable;
    for (int L = 1; L <= channels; ++L) {
      const std::string& file = by_channel.at(L);
      double time = 0.0;
      double interval = 0.0;  // the first file's interval holds for every event
      const int count = ReadAsciiWaveform(file, ws.samples, interval, time, channel, &problem);
      std::string why = OperatorReadProblem(file, count, problem);
      if (why.empty() && count > MAX_SAMPLES) why = SamplingSizeMessage(count) + " " + file;
      if (!why.empty()) {
        unreadable = why;
        break;
      }
      if (count > c)
        ws.notes.push_back(file + ": cut from " + FormatD(count) + " to the first file's " +
                           FormatD(c) + " samples.");
      // Samples the file does not have are 0, not those of an earlier, longer file.
      std::fill(ws.samples.begin() + std::clamp(count, 0, MAX_SAMPLES), ws.samples.end(), 0.0);
      arrival[L] = time;
      for (int i = 0; i < MAX_SAMPLES; ++i) {
        ws.input.At(i, L) = ws.samples[i];
        ws.output.At(i, L) = 0.0;
      }
    }
    if (!unreadable.empty()) {
      if (!SkipFile(ws, host, unreadable + " (event " + FormatD(k) + " is not written)"))
        return CalcStatus::kRefused;
      continue;
    }

    // The first hit: the earliest channel, the first of equals; every delay counts from it.
    int d = 1;
    for (int L = 1; L <= channels; ++L) {
      if (arrival[L] < arrival[d]) d = L;
    }
    const double m = arrival[d];
    for (int L = 0; L <= channels; ++L) {
      const int s = (L == 0 || L == d) ? 0 : DelayRows(arrival[L], m, dt);
      if (L > 0 && s >= c - 1)
        ws.notes.push_back("Event " + FormatD(k) + ": the delay of channel " + FormatD(L) + " (" +
                           FormatD(s) + " rows) leaves it all zeros in the table.");
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
  }
  ReportSkippedAndNotes(ws, host);
  if (ws.written.empty() && !write_failed) {
    host.MessageBox("No event in " + folder +
                    " has a readable file of every channel: nothing "
                    "written.");
    return CalcStatus::kRefused;
  }
  return write_failed ? CalcStatus::kFailed : CalcStatus::kDone;
}

}  // namespace plexo
