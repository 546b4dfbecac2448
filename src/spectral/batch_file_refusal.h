#pragma once
// The one rule of the folder batches (Average FFT, Average TFT, convolution): a file the
// waveform reader refuses is left out of the run and named with its reason; the run goes on,
// unless it is strict, when the first such file stops it.
#include <optional>
#include <string>
#include <vector>

#include "platform/host.h"
#include "signal/waveform.h"
#include "signal/waveform_source.h"

namespace plexo {

// The start every folder batch shares: lists the *.txt files of `folder` into `files` and makes
// the result folder. Returns the status the run ends with when it cannot start (a folder that
// cannot be listed, or a result folder that cannot be made, both told to the user with the
// system's reason), else nothing.
std::optional<CalcStatus> StartFolderBatch(const std::string& folder,
                                           const std::string& resultFolder,
                                           std::vector<std::string>& files, Host& host);

// The same start for the batches that read a waveform source: lists `input` (a folder of *.txt
// files or a waveform database, ListWaveformSource) into `source` and makes the result folder;
// a database that cannot be used is told to the user with the reason.
std::optional<CalcStatus> StartWaveformBatch(const std::string& input,
                                             const std::string& resultFolder,
                                             std::unique_ptr<WaveformSource>& source, Host& host);

// Why the waveform file `path`, read with the result `count` (ReadWaveform's return value),
// `readProblem` and `sampleInterval`, is left out of a folder batch, naming the file; empty when
// it is used (and for a count over MAX_SAMPLES, which stops the run with its own message).
// A file that cannot be opened says the system's reason ("Permission denied"), a file without
// sample lines (or with a malformed sample-interval line) says so, a file whose samples have no
// usable sample interval (the table that "fft" writes beside its input, for one) gives
// SampleIntervalProblem.
std::string WaveformSkipReason(const std::string& path, int count, const std::string& readProblem,
                               double sampleInterval, int limit = MAX_SAMPLES);

// The closing words for `skipped` files left out: " (3 skipped, named above)", or empty for none.
std::string SkippedFilesText(int skipped);

// A waveform over MAX_SAMPLES stops a batch: SamplingSizeMessage, then a line naming the file.
std::string OverSampleLimitMessage(const std::string& path, int count);
// The same for a batch whose limit the run may raise (SampleLimitMessage with `limit`).
std::string OverSampleLimitMessage(const std::string& path, int count, int limit);

}  // namespace plexo
