#pragma once
// The four operators that reshape a folder of ASCII files into F/convData:
//   Accumulate     the time of test of every waveform, in folder order;
//   Columns        all waveforms side by side in one table;
//   EventLinking   one table per event (files prefix<channel>_<event>.txt), every channel
//                  delayed by its arrival-time difference to the first hit;
//   Split          one waveform file per column of any delimited table.
// Each reports to the user through the Host, moves the progress bar after every file and stops
// between files when asked to; a result file is either written whole or not at all.
#include <string>
#include <string_view>
#include <vector>

#include "ascii_ops/ascii_files.h"
#include "ascii_ops/column_table.h"
#include "platform/host.h"

namespace plexo {

inline constexpr std::string_view kNoFilesMessage =
    "No files found in folder! Provide correct folder path!";

// The most channels Event linking joins (the link table's data columns).
inline constexpr int kMaxLinkedChannels = LinkTable::kColumns - 1;
// The most samples per file that Columns takes: its line table holds 16384 lines, 20 of them
// header lines.
inline constexpr int kMaxColumnsSamples = 16364;

// The buffers the operators keep between runs.
struct AsciiWorkspace {
  std::vector<double> samples;     // the file being read, MAX_SAMPLES entries
  LinkTable input;                 // Event linking: the event's channels as read
  LinkTable output;                // Event linking: the channels shifted by their delays
  std::vector<std::string> lines;  // Columns: the output lines under construction
  ColumnTable table;               // Split: the table being split

  // Files the reader refused stop the run at the first (told with its reason) when set;
  // otherwise they are skipped, listed in `skipped` and named in one message after the run.
  bool strict = false;

  // What the last run wrote, for the command line.
  std::vector<std::string> written;
  // The files the last run skipped, each "PATH: reason", and what it changed in what it read
  // (a file cut to the first file's length, a channel a delay left all zeros).
  std::vector<std::string> skipped;
  std::vector<std::string> notes;
};

std::string AccumulatePath(const std::string& folder);  // F/convData/Accumulated_waveforms.txt
std::string ColumnsPath(const std::string& folder);     // F/convData/Column_ASCII_waveforms.txt
// The event's name: k padded on the left with "0" to eight characters (00000017).
std::string EventName(int event);

// kRefused: the folder does not exist or holds no *.txt file ("No files found in folder! ..."),
// or cannot be listed (its path and the system's reason), or (strict) a file the reader refused.
// Files the reader refuses (no data, a sample line that is not one finite number, a value that
// does not fit) are skipped and named; the others are written.
// kStopped: asked to stop; nothing written. kFailed: the table could not be written (the
// message names it and the reason).
// Files without a positive time of test are left out of the table; kRefused, with a message,
// when no file has one.
CalcStatus Accumulate(AsciiWorkspace& workspace, const std::string& folder, CalcProgress& progress,
                      Host& host);

// As Accumulate; also kRefused (with "Sampling size of %d exceeds program limit of %d!") for a
// file of more samples than the line table holds (kMaxColumnsSamples). Files without a positive
// sample interval are skipped. Shorter files leave their cells empty, so the columns of later
// files stay in place.
CalcStatus Columns(AsciiWorkspace& workspace, const std::string& folder, CalcProgress& progress,
                   Host& host);

// As Accumulate; also kRefused when there is no file of channel 1, event 1, when it cannot be
// read or when it holds more than MAX_SAMPLES samples (message). Channel and event are the whole
// numbers of the name <prefix><channel>_<event>.txt; files not so named, channels above
// kMaxLinkedChannels, and events with a channel missing or unreadable are skipped and named.
// Delays count from the earliest channel. kStopped leaves the events written so far; kFailed
// when a table could not be written (the run goes on; the first failure is named with its
// reason).
CalcStatus EventLinking(AsciiWorkspace& workspace, const std::string& folder,
                        CalcProgress& progress, Host& host);

// As Accumulate; also kRefused (with a message) for a table of more than kMaxTableLines lines
// or kMaxTableFields fields; the files written before it stay. The waveforms of one table
// replace earlier ones together or not at all; kFailed when one could not be written (the run
// goes on; the first failure is named with its reason).
CalcStatus Split(AsciiWorkspace& workspace, const std::string& folder, CalcProgress& progress,
                 Host& host);

// "Table size of <lines> lines and <fields> fields exceeds program limit of 16384 lines and
// 16384 fields!"
std::string TableSizeMessage(int lines, int fields);

}  // namespace plexo
