#include "features/feature_extraction.h"

#include <algorithm>
#include <cmath>

#include "features/feature_csv.h"
#include "features/fft_features.h"
#include "features/time_features.h"
#include "platform/file_system.h"
#include "platform/job_count.h"
#include "platform/ordered_workers.h"
#include "platform/result_files.h"
#include "platform/text_file.h"
#include "signal/number_text.h"
#include "signal/waveform_file.h"
#include "spectral/fft.h"

namespace plexo {
namespace {

// One file's contribution: its data line, the note that skips it, or the message that stops
// the run there.
enum class FileResult { kRow, kSkipped, kStopped, kRejected };
struct FileOutcome {
  FileResult result = FileResult::kStopped;
  std::string text;  // the data line, the note or the message (the label of a rejected input)
  bool doubtful = false;
  bool unlisted = false;   // the onsets file does not list it: picked automatically
  std::string mismatched;  // the note of a corrected time that disagrees with its sample
  FeatureValues values;
};

// The reviewed onset of input `label` (count samples): the corrected sample, or the note that
// skips the input (a sample past the record). Notes a corrected time that disagrees with the
// sample (the sample holds).
std::string ReviewedOnset(const OnsetRow& row, const FeatureRequest& request,
                          const std::string& label, const Waveform& wf, int count,
                          FileOutcome& outcome) {
  const int held = std::min(count, wf.limit);
  if (row.correctedSample >= held)
    return label + ": the corrected onset, sample " + std::to_string(row.correctedSample) + " in " +
           request.onsetsPath + ", lies past the last sample (" + std::to_string(held - 1) + ")";
  const double time = OnsetArrivalTime(row.correctedSample, wf.sampleInterval, wf.timeOfTest);
  if (FormatE(time, 14) != FormatE(row.correctedTime, 14))
    outcome.mismatched = label + ": the corrected arrival time " + FormatE(row.correctedTime, 14) +
                         " in " + request.onsetsPath + " is not that of sample " +
                         std::to_string(row.correctedSample) + " (" + FormatE(time, 14) +
                         "); the sample is used";
  return {};
}

// A tab, CR or LF in a file name would split the row or add a column.
bool BreaksTable(const std::string& name) {
  return name.find_first_of("\t\r\n") != std::string::npos;
}

// True when a printed value of the row cannot mean anything: a window that is empty or starts
// past the record, a printed band starting at or above the Nyquist frequency, a value that is
// not a finite number.
bool IsDoubtful(const FeatureValues& values, const FeatureColumns& columns,
                const FeatureSettings& settings, const SignalWindow& window, int count, double dt) {
  if (!(window.start < window.end) || !(window.start < count * dt)) return true;
  const double nyquist = 0.5 / dt;
  for (int b = 0; b < kPartialPowerBands; ++b) {
    if (columns.test(kColPartialPower1 + b) && !(settings.ppBegin[b] < nyquist)) return true;
  }
  for (int b = 0; b < kWaveletBands; ++b) {
    if (columns.test(kColTimeFrequencyPower1 + b) && !(settings.wtBegin[b] < nyquist)) return true;
  }
  for (int c = 0; c < kFeatureColumnCount; ++c) {
    if (columns.test(c) && !std::isfinite(values.Column(c))) return true;
  }
  return false;
}

FileOutcome ProcessInput(const WaveformSource& source, int k, const FeatureRequest& request,
                         const FeatureSettings& settings, bool wavelet, FeatureThreadState& state) {
  FileOutcome outcome;
  const std::string& path = source.Label(k);
  const std::string& name = source.Inputs()[static_cast<size_t>(k)].name;
  // Comma-separated text quotes any name; only the .txt table cannot hold every name.
  if (request.withFileNames && !request.keepValues && request.format == TableFormat::kText &&
      BreaksTable(name)) {
    outcome.result = request.strict ? FileResult::kStopped : FileResult::kSkipped;
    outcome.text = path + ": the name holds a tab, CR or LF, which would split its row";
    return outcome;
  }
  // A rejected hit is left out unread.
  const OnsetRow* reviewed = request.onsets != nullptr ? request.onsets->Find(name) : nullptr;
  if (reviewed != nullptr && reviewed->state == OnsetState::kRejected) {
    outcome.result = FileResult::kRejected;
    outcome.text = path;
    return outcome;
  }
  Waveform& wf = state.waveform;
  int count = 0;
  if (const InputRead read = ReadBatchInput(source, k, wf, count, outcome.text);
      read != InputRead::kRead) {
    outcome.result =
        read == InputRead::kSkip && !request.strict ? FileResult::kSkipped : FileResult::kStopped;
    return outcome;
  }
  if (request.onsets != nullptr) {
    if (reviewed == nullptr) {
      outcome.unlisted = true;
    } else if (std::string skip = ReviewedOnset(*reviewed, request, path, wf, count, outcome);
               !skip.empty()) {
      outcome.result = request.strict ? FileResult::kStopped : FileResult::kSkipped;
      outcome.text = std::move(skip);
      return outcome;
    }
  }
  FeatureValues& values = outcome.values;
  SignalWindow window;
  if (std::string problem =
          ComputeWaveformFeatures(settings, wavelet, state, values, &window,
                                  reviewed != nullptr ? &reviewed->correctedSample : nullptr);
      !problem.empty()) {
    outcome.text = problem + "\n" + path;
    return outcome;
  }
  outcome.doubtful =
      IsDoubtful(values, request.columns, settings, window, count, wf.sampleInterval);
  outcome.result = FileResult::kRow;
  if (request.keepValues) return outcome;
  const std::string* file_name = request.withFileNames ? &name : nullptr;
  if (request.format == TableFormat::kCsv) {
    AppendFeatureCsvRow(outcome.text, values, request.columns, file_name);
  } else {
    AppendFeatureRow(outcome.text, values, request.columns, file_name);
  }
  return outcome;
}

}  // namespace

void ClearRunNotes(FeatureWorkspace& ws) {
  ws.processed = 0;
  ws.skipped.Clear();
  ws.doubtful = 0;
  ws.rejected.Clear();
  ws.unlisted.Clear();
  ws.mismatched.Clear();
}

void AddRunNotes(FeatureWorkspace& ws, const FeatureRows& rows) {
  ws.processed += rows.done;
  ws.doubtful += rows.doubtful;
  for (const std::string& note : rows.skipped) ws.skipped.Add(note);
  for (const std::string& note : rows.rejected) ws.rejected.Add(note);
  for (const std::string& note : rows.unlisted) ws.unlisted.Add(note);
  for (const std::string& note : rows.mismatched) ws.mismatched.Add(note);
}

std::string WaveformReadRefusal(const std::string& path, int count, const Waveform& wf) {
  if (!wf.readProblem.empty()) return wf.readProblem;
  if (count < 0) {
    const std::string why = WhyNotReadable(path);
    if (!why.empty()) return path + ": " + why;
  }
  // A row of zeros for a file without data would look like a measurement; refuse instead.
  if (count <= 0) return "No valid data present in file or error during loading!\n" + path;
  const double dt = wf.sampleInterval;
  if (!(dt > 0.0) || !std::isfinite(dt))
    return "Sample interval of " + FormatE(dt) + " s is not allowed! Value has to be > 0!\n" + path;
  return {};
}

InputRead ReadBatchInput(const WaveformSource& source, int k, Waveform& wf, int& count,
                         std::string& why) {
  const std::string& label = source.Label(k);
  count = source.Read(k, wf);
  if (count > wf.limit) {
    why = SampleLimitMessage(count, wf.limit) + "\n" + label;
    return InputRead::kStop;
  }
  why = WaveformReadRefusal(label, count, wf);
  return why.empty() ? InputRead::kRead : InputRead::kSkip;
}

std::string FeatureNoFilesMessage(const std::string& folder) {
  if (folder.empty()) return kFeatureNoFilesMessage;
  return std::string(kFeatureNoFilesMessage) + "\n" + folder;
}

std::string DoubtfulRowsNote(int rows) {
  if (rows <= 0) return {};
  return std::to_string(rows) + (rows == 1 ? " row" : " rows") +
         " cannot mean anything: a time window that is empty or starts past the end of the "
         "record, a band at or above the Nyquist frequency, or a value that is not a number.";
}

std::string FeatureResultsFolder(const std::string& input) {
  return BatchResultFolder(input, "FXData");
}

std::string FeatureResultsPath(const std::string& folder, TableFormat format) {
  return JoinPath(FeatureResultsFolder(folder), std::string("FX_Results") + TableExtension(format));
}

int FeatureProgressDivisor(int count) {
  if (count > 1000000) return 10000;
  if (count > 100000) return 1000;
  if (count > 10000) return 100;
  if (count > 1000) return 10;
  return 1;
}

std::string ComputeWaveformFeatures(const FeatureSettings& settings, bool wavelet,
                                    FeatureThreadState& state, FeatureValues& values,
                                    SignalWindow* windowUsed, const int* onsetSample) {
  Waveform& wf = state.waveform;
  Complex* x = wf.samples.data();
  const int count = wf.count;
  const double dt = wf.sampleInterval;
  const TransformSizeResult size = TransformSize(count);
  std::fill(x + count, x + size.n, Complex{});

  const SignalWindow window = onsetSample != nullptr ? WindowFromOnset(*onsetSample * dt, settings)
                                                     : SelectWindow(x, count, dt, settings);
  if (windowUsed != nullptr) *windowUsed = window;
  if (wavelet) {
    if (std::string problem = WaveletWindowProblem(window, dt); !problem.empty()) return problem;
  }
  ComputeTimeFeatures(x, count, dt, wf.timeOfTest, window, settings.impedance, values);
  const size_t bins = static_cast<size_t>(std::max(size.n, MAX_SAMPLES) / 2);
  if (state.magnitude.size() < bins) state.magnitude.resize(bins);
  ComputeFftFeatures(x, count, size, dt, window, settings, state.magnitude.data(), values);
  if (wavelet) {
    ComputeWaveletFeatures(x, size, dt, wf.timeOfTest, window, settings, state.wavelet, values);
  }
  return {};
}

void AppendFeatureRow(std::string& out, const FeatureValues& values, const FeatureColumns& columns,
                      const std::string* fileName) {
  if (fileName != nullptr) {
    out += *fileName;
    out += '\t';
  }
  for (int c = 0; c < kFeatureColumnCount; ++c) {
    if (!columns.test(c)) continue;
    AppendFeatureCell(out, values, c);
    out += '\t';
  }
  out += '\n';
}

void AppendFeatureCell(std::string& out, const FeatureValues& values, int column) {
  AppendE(out, values.Column(column), FeatureColumnTable()[column].precision);
}

CalcStatus WriteFeatureTable(const FeatureRequest& request, std::string_view rows, Host& host) {
  const bool csv = request.format == TableFormat::kCsv;
  ResultFiles result;
  // The comma-separated text holds its own CR LF, and line breaks inside quoted names.
  TextFileWriter& out =
      result.Add(FeatureResultsPath(request.folder, request.format), /*translate_newlines=*/!csv);
  out.Write(csv ? FeatureCsvHeader(request.columns, request.withFileNames)
                : FeatureHeaderLines(request.columns, request.withFileNames));
  out.Write(rows);
  return CommitResult(result, host) ? CalcStatus::kDone : CalcStatus::kFailed;
}

std::string FeatureRequestProblem(const FeatureRequest& request) {
  if (!NeedsWaveletFeatures(request.columns)) return {};
  return WaveletSettingsProblem(request.settings);
}

std::string FeatureInputRefusal(const FeatureRequest& request,
                                std::unique_ptr<WaveformSource>& source) {
  source.reset();
  if (std::string problem = FeatureRequestProblem(request); !problem.empty()) return problem;
  const bool database = IsWaveformDatabasePath(request.folder);
  if (!database && (request.folder.empty() || !IsDirectory(request.folder)))
    return FeatureNoFilesMessage(request.folder);
  std::string why;
  source = ListWaveformSource(request.folder, why);
  if (source == nullptr) return why;
  if (source->Count() == 0) {
    source.reset();
    return database ? request.folder + ": the database holds no waveform records"
                    : FeatureNoFilesMessage(request.folder);
  }
  return {};
}

FeatureRows ComputeFeatureRows(FeatureWorkspace& ws, const FeatureRequest& request,
                               const WaveformSource& source, int begin, int end,
                               const std::function<bool(int file)>& after) {
  FeatureRows rows;
  const int count = std::max(end - begin, 0);
  if (count == 0) return rows;
  const FeatureSettings& settings = request.settings;
  const bool wavelet = NeedsWaveletFeatures(request.columns);
  const int jobs = std::min(JobCount(request.jobs), count);
  while (static_cast<int>(ws.threads.size()) < jobs)
    ws.threads.push_back(std::make_unique<FeatureThreadState>());
  for (const auto& thread : ws.threads) thread->waveform.limit = request.maxSamples;

  // Files run on every worker; their lines join the text in file order on this thread, so the
  // text is the same for any thread count.
  std::vector<FileOutcome> outcomes(count);
  RunInOrder(
      count, jobs,
      [&](int k, int worker) {
        outcomes[k] =
            ProcessInput(source, begin + k, request, settings, wavelet, *ws.threads[worker]);
      },
      [&](int k) {
        FileOutcome& outcome = outcomes[k];
        switch (outcome.result) {
          case FileResult::kStopped:
            rows.refusedFile = begin + k;
            rows.message = std::move(outcome.text);
            return false;
          case FileResult::kSkipped:
            rows.skipped.push_back(std::move(outcome.text));
            break;
          case FileResult::kRejected:
            rows.rejected.push_back(std::move(outcome.text));
            break;
          case FileResult::kRow:
            if (outcome.unlisted) rows.unlisted.push_back(source.Label(begin + k));
            if (!outcome.mismatched.empty())
              rows.mismatched.push_back(std::move(outcome.mismatched));
            rows.text += outcome.text;
            if (request.keepValues) {
              rows.values.push_back(outcome.values);
              rows.rowInputs.push_back(begin + k);
            }
            ++rows.done;
            if (outcome.doubtful) ++rows.doubtful;
            break;
        }
        std::string().swap(outcome.text);
        return after(begin + k);
      });
  return rows;
}

CalcStatus ExtractFeatures(FeatureWorkspace& ws, const FeatureRequest& request,
                           CalcProgress& progress, Host& host) {
  ClearRunNotes(ws);
  std::unique_ptr<WaveformSource> source;
  if (std::string refusal = FeatureInputRefusal(request, source); !refusal.empty()) {
    host.MessageBox(refusal);
    return CalcStatus::kRefused;
  }
  return ExtractFeatures(ws, request, *source, progress, host);
}

CalcStatus ExtractFeatures(FeatureWorkspace& ws, const FeatureRequest& request,
                           const WaveformSource& source, CalcProgress& progress, Host& host) {
  ClearRunNotes(ws);
  MakeDirectory(FeatureResultsFolder(request.folder));  // a failure shows when writing

  const int count = source.Count();
  const int divisor = request.progressPerFile ? 1 : FeatureProgressDivisor(count);
  progress.SetRange(0, count / divisor);
  progress.SetPos(0);

  int shown = 0;
  const FeatureRows rows = ComputeFeatureRows(ws, request, source, 0, count, [&](int file) {
    const int position = (file + 1) / divisor;
    if (position != shown) {
      progress.SetPos(position);
      shown = position;
    }
    progress.DrainMessages();
    return true;
  });
  if (rows.refusedFile >= 0) {
    host.MessageBox(rows.message);
    return CalcStatus::kRefused;
  }
  AddRunNotes(ws, rows);
  return WriteFeatureTable(request, rows.text, host);
}

}  // namespace plexo
