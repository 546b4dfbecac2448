#include "spectral/convolution.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/result_files.h"
#include "platform/text_file.h"
#include "signal/number_text.h"
#include "signal/waveform_file.h"
#include "spectral/batch_file_refusal.h"
#include "spectral/fft.h"
#include "spectral/transfer_function.h"

namespace plexo {
namespace {

// Transforms the waveform in X (count samples, zero-padded to n = 2^m), passes it through T and
// transforms back; output j = X[j].re / n for j < count, 0 where the transform did not reach.
void ProcessWaveform(ConvolutionWorkspace& ws, int count, int m, TransferOperation operation) {
  const int n = 1 << m;
  Complex* x = ws.waveform.samples.data();
  for (int i = count; i < n; ++i) x[i] = Complex{};
  FFT(FftDirection::kForward, m, x);
  const Complex* t = ws.transfer.data() + 1;  // bin i pairs with T[i + 1]
  if (operation == TransferOperation::kConvolution) {
    for (int i = 0; i < n; ++i) x[i] = MultiplyByTransfer(x[i], t[i]);
  } else {
    for (int i = 0; i < n; ++i) x[i] = DivideByTransfer(x[i], t[i]);
  }
  FFT(FftDirection::kInverse, m, x);
  const int transformed = std::min(count, n);
  for (int j = 0; j < transformed; ++j) ws.output[j] = x[j].re / n;
  std::fill(ws.output.begin() + transformed, ws.output.begin() + count, 0.0);
}

}  // namespace

std::string ProcessedFolder(const std::string& folder) { return JoinPath(folder, "procData"); }

std::string ColumnsFilePath(const std::string& folder) {
  return JoinPath(ProcessedFolder(folder), "DuvidiWaveforms.txt");
}

std::string ProcessedFilePath(const std::string& folder, const std::string& input) {
  return JoinPath(ProcessedFolder(folder), FileName(input));
}

int MaxFftPrecision(int maxSamples) {
  int p = kMaxFftPrecision;
  while ((1 << p) < SampleRoom(maxSamples)) ++p;
  return p;
}

std::string FftPrecisionLimitMessage(int precision, int largest) {
  std::string message = "FFT-precision of " + FormatD(precision) +
                        " is outside the program limits of 0 and " + FormatD(largest) + "!";
  if (precision > largest && largest < MaxFftPrecision(kLargestSampleLimit))
    message += " (a larger sample limit, --max-samples N, allows P up to " +
               FormatD(MaxFftPrecision(kLargestSampleLimit)) + ")";
  return message;
}

std::string TransferSizeMessage(int lines, double points) {
  return "Transfer-Function sampling size (" + FormatD(lines) +
         ") is not equal to FFT-precision (" + FormatE(points) +
         ")! Provide a valid size or matching FFT-precision!";
}

CalcStatus ApplyTransferFunction(ConvolutionWorkspace& ws, const std::string& folder,
                                 int fftPrecision, const std::string& transferPath,
                                 TransferOperation operation, ConvolutionOutput output,
                                 CalcProgress& progress, Host& host) {
  ws.processed = ws.written = ws.skipped = 0;
  ws.notes.Clear();
  // Transforms larger than the sample limit allows are refused; a negative exponent is no
  // transform size.
  const int largest = MaxFftPrecision(ws.maxSamples);
  if (fftPrecision < 0 || fftPrecision > largest) {
    host.MessageBox(FftPrecisionLimitMessage(fftPrecision, largest));
    return CalcStatus::kRefused;
  }
  const int m = fftPrecision;
  const int n = 1 << m;
  std::string problem;
  const int read = ReadTransferFunction(transferPath, ws.transfer, &problem, n);
  if (read < 0) {
    // Not a size mismatch: there is no transfer function to compare.
    std::string reason = WhyNotReadable(transferPath);
    if (reason.empty() && !problem.empty()) {
      host.MessageBox(problem);  // a line that is no bin, named with the file and its number
      return CalcStatus::kRefused;
    }
    if (reason.empty()) reason = "read error";
    host.MessageBox("Cannot read the transfer function \"" + transferPath + "\": " + reason + "!");
    return CalcStatus::kRefused;
  }
  const int lines = read - 1;
  if (lines != n) {
    host.MessageBox(TransferSizeMessage(lines, n));
    return CalcStatus::kRefused;
  }
  const bool columns = output == ConvolutionOutput::kColumnsFile;
  if (!IsDirectory(folder)) {
    // The columns output reports the file it writes; here there is none to report.
    if (columns) host.MessageBox("Folder " + folder + " not found! Nothing was written.");
    return CalcStatus::kRefused;
  }

  if (ws.output.size() < static_cast<size_t>(MAX_SAMPLES)) ws.output.resize(MAX_SAMPLES);
  ws.waveform.limit = ws.maxSamples;
  ws.columns.Clear();
  std::vector<std::string> files;
  if (const auto ended = StartFolderBatch(folder, ProcessedFolder(folder), files, host))
    return *ended;
  progress.SetRange(0, static_cast<int>(files.size()));

  bool write_failed = false;
  // The processed waveforms of a run are one result: they replace the earlier ones together.
  ResultFiles processed;
  for (size_t k = 0; k < files.size(); ++k) {
    progress.SetPos(static_cast<int>(k + 1));
    const int count = ReadWaveform(files[k], ws.waveform);
    if (count > ws.maxSamples) {
      // The run ends here, and the waveforms processed before this file are kept.
      if (ws.written > 0 && !CommitResult(processed, host)) ws.written = 0;
      ws.notes.Report(host);
      host.MessageBox(OverSampleLimitMessage(files[k], count, ws.maxSamples));
      return CalcStatus::kRefused;
    }
    if (std::string reason = WaveformSkipReason(files[k], count, ws.waveform.readProblem,
                                                ws.waveform.sampleInterval);
        !reason.empty()) {
      if (ws.strict) {
        host.MessageBox(reason);
        return CalcStatus::kRefused;
      }
      ws.notes.Add(std::move(reason));
      ++ws.skipped;
      continue;
    }
    // The transform pads to n points and the output holds every sample: a raised limit grows
    // both to what this run needs, never more.
    if (ws.waveform.samples.size() < static_cast<size_t>(n)) ws.waveform.samples.resize(n);
    if (ws.output.size() < static_cast<size_t>(count)) ws.output.resize(count);
    ProcessWaveform(ws, count, m, operation);
    ++ws.processed;
    const WaveformHeader& header = ws.waveform;
    if (columns) {
      ws.columns.Add(header, ws.output.data(), count);
    } else {
      WriteWaveform(processed.Add(ProcessedFilePath(folder, files[k])), ws.output.data(), count,
                    header);
      ++ws.written;
    }
  }
  ws.notes.Report(host);
  if (ws.written > 0 && !CommitResult(processed, host)) {
    ws.written = 0;
    write_failed = true;
  }

  if (columns) {
    const std::string path = ColumnsFilePath(folder);
    // The path tells the user where the columns are; a file that is not there is reported so.
    std::string error;
    if (ws.columns.Write(path, &error)) {
      host.MessageBox(path);
    } else {
      write_failed = true;
      host.MessageBox(error.empty() ? FileNotWrittenMessage(path) : error);
    }
    ws.columns.Clear();
  }
  if (ws.processed == 0) return CalcStatus::kRefused;
  return write_failed ? CalcStatus::kFailed : CalcStatus::kDone;
}

}  // namespace plexo
