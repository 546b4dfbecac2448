#include "features/feature_extraction.h"

#include <algorithm>
#include <cmath>

#include "features/fft_features.h"
#include "features/time_features.h"
#include "platform/file_system.h"
#include "signal/number_text.h"
#include "signal/text_file.h"
#include "signal/waveform_file.h"
#include "spectral/fft.h"
#include "timefreq/cwt_row_runner.h"

namespace plexo {
namespace {

// One file's contribution: its data line, or the message that stops the run there.
struct FileOutcome {
  bool ok = false;
  std::string text;  // the data line, or the message
};

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

FileOutcome ProcessFile(const std::string& path, const FeatureRequest& request,
                        const FeatureSettings& settings, bool wavelet, FeatureThreadState& state) {
  FileOutcome outcome;
  Waveform& wf = state.waveform;
  const int count = ReadWaveform(path, wf);
  if (count > MAX_SAMPLES) {
    outcome.text = SamplingSizeMessage(count);
    return outcome;
  }
  // A row of zeros for a file without data would look like a measurement; refuse instead.
  if (count <= 0) {
    outcome.text = wf.readProblem.empty()
                       ? "No valid data present in file or error during loading!\n" + path
                       : wf.readProblem;
    return outcome;
  }
  const double dt = wf.sampleInterval;
  if (!(dt > 0.0) || !std::isfinite(dt)) {
    outcome.text =
        "Sample interval of " + FormatE(dt) + " s is not allowed! Value has to be > 0!\n" + path;
    return outcome;
  }
  FeatureValues values;
  if (std::string problem = ComputeWaveformFeatures(settings, wavelet, state, values);
      !problem.empty()) {
    outcome.text = problem + "\n" + path;
    return outcome;
  }
  const std::string name = BaseName(path);
  AppendFeatureRow(outcome.text, values, request.columns, request.withFileNames ? &name : nullptr);
  outcome.ok = true;
  return outcome;
}

}  // namespace

std::string FeatureResultsFolder(const std::string& folder) { return JoinPath(folder, "FXData"); }

std::string FeatureResultsPath(const std::string& folder) {
  return JoinPath(FeatureResultsFolder(folder), "FX_Results.txt");
}

int FeatureProgressDivisor(int count) {
  if (count > 1000000) return 10000;
  if (count > 100000) return 1000;
  if (count > 10000) return 100;
  if (count > 1000) return 10;
  return 1;
}

std::string ComputeWaveformFeatures(const FeatureSettings& settings, bool wavelet,
                                    FeatureThreadState& state, FeatureValues& values) {
  Waveform& wf = state.waveform;
  Complex* x = wf.samples.data();
  const int count = wf.count;
  const double dt = wf.sampleInterval;
  const TransformSizeResult size = TransformSize(count);
  std::fill(x + count, x + size.n, Complex{});

  const SignalWindow window = SelectWindow(x, count, dt, settings);
  if (wavelet) {
    if (std::string problem = WaveletWindowProblem(window, dt); !problem.empty()) return problem;
  }
  ComputeTimeFeatures(x, count, dt, wf.timeOfTest, window, settings.impedance, values);
  state.magnitude.resize(MAX_SAMPLES / 2);
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
  const auto& table = FeatureColumnTable();
  for (int c = 0; c < kFeatureColumnCount; ++c) {
    if (!columns.test(c)) continue;
    AppendE(out, values.Column(c), table[c].precision);
    out += '\t';
  }
  out += '\n';
}

std::string FeatureRequestProblem(const FeatureRequest& request) {
  if (!NeedsWaveletFeatures(request.columns)) return {};
  return WaveletSettingsProblem(ParseFeatureParams(request.params, request.useAic));
}

FeatureRows ComputeFeatureRows(FeatureWorkspace& ws, const FeatureRequest& request,
                               const std::vector<std::string>& files, int begin, int end,
                               const std::function<bool(int file)>& after) {
  FeatureRows rows;
  const int count = std::max(end - begin, 0);
  if (count == 0) return rows;
  const FeatureSettings settings = ParseFeatureParams(request.params, request.useAic);
  const bool wavelet = NeedsWaveletFeatures(request.columns);
  const int jobs = std::min(CwtJobCount(request.jobs), count);
  while (static_cast<int>(ws.threads.size()) < jobs)
    ws.threads.push_back(std::make_unique<FeatureThreadState>());

  // Files run on every worker; their lines join the text in file order on this thread, so the
  // text is the same for any thread count.
  std::vector<FileOutcome> outcomes(count);
  RunRowsInOrder(
      count, jobs,
      [&](int k, int worker) {
        outcomes[k] =
            ProcessFile(files[begin + k], request, settings, wavelet, *ws.threads[worker]);
      },
      [&](int k) {
        FileOutcome& outcome = outcomes[k];
        if (!outcome.ok) {
          rows.refusedFile = begin + k;
          rows.message = std::move(outcome.text);
          return false;
        }
        rows.text += outcome.text;
        std::string().swap(outcome.text);
        ++rows.done;
        return after(begin + k);
      });
  return rows;
}

CalcStatus ExtractFeatures(FeatureWorkspace& ws, const FeatureRequest& request,
                           CalcProgress& progress, Host& host) {
  ws.processed = 0;
  if (std::string problem = FeatureRequestProblem(request); !problem.empty()) {
    host.MessageBox(problem);
    return CalcStatus::kRefused;
  }
  if (request.folder.empty() || !IsDirectory(request.folder)) {
    host.MessageBox(kFeatureNoFilesMessage);
    return CalcStatus::kRefused;
  }
  MakeDirectory(FeatureResultsFolder(request.folder));  // a failure shows when writing

  const std::vector<std::string> files = ListTxtFiles(request.folder);
  const int count = static_cast<int>(files.size());
  const int divisor = FeatureProgressDivisor(count);
  progress.SetRange(0, count / divisor);
  progress.SetPos(0);

  int shown = 0;
  const FeatureRows rows = ComputeFeatureRows(ws, request, files, 0, count, [&](int file) {
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
  ws.processed = rows.done;
  const std::string table = FeatureHeaderLines(request.columns, request.withFileNames) + rows.text;
  std::string error;
  if (WriteTextFile(FeatureResultsPath(request.folder), table, &error)) return CalcStatus::kDone;
  host.MessageBox(error);
  return CalcStatus::kFailed;
}

}  // namespace plexo
