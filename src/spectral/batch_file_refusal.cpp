#include "spectral/batch_file_refusal.h"

#include "platform/file_system.h"
#include "platform/text_file.h"
#include "signal/waveform.h"
#include "spectral/sample_interval_check.h"

namespace plexo {

namespace {

std::optional<CalcStatus> MakeResultFolder(const std::string& resultFolder, Host& host) {
  if (std::string why; !MakeDirectory(resultFolder, &why)) {
    ReportFileError();  // stdout says so as for every result that cannot be written
    host.MessageBox(FolderNotCreatedMessage(resultFolder, why));
    return CalcStatus::kFailed;
  }
  return std::nullopt;
}

}  // namespace

std::optional<CalcStatus> StartFolderBatch(const std::string& folder,
                                           const std::string& resultFolder,
                                           std::vector<std::string>& files, Host& host) {
  if (std::string why; !ListTxtFiles(folder, files, why)) {
    host.MessageBox(FolderNotListedMessage(folder, why));
    return CalcStatus::kRefused;
  }
  return MakeResultFolder(resultFolder, host);
}

std::optional<CalcStatus> StartWaveformBatch(const std::string& input,
                                             const std::string& resultFolder,
                                             std::unique_ptr<WaveformSource>& source, Host& host) {
  std::string why;
  source = ListWaveformSource(input, why);
  if (source == nullptr) {
    host.MessageBox(why);
    return CalcStatus::kRefused;
  }
  return MakeResultFolder(resultFolder, host);
}

std::string WaveformSkipReason(const std::string& path, int count, const std::string& readProblem,
                               double sampleInterval, int limit) {
  if (count > limit) return {};
  if (!readProblem.empty()) return readProblem;
  if (count <= 0) {
    // The reader tells neither an unreadable file nor a malformed interval line from a short
    // one by its count: the file system says which of them it is.
    const std::string why = WhyNotReadable(path);
    if (!why.empty()) return "Cannot read " + path + ": " + why + "! The file is skipped.";
    return path +
           ": no waveform samples (they start on line 10) or a malformed \"SAMPLE INTERVAL "
           "(Seconds):\" line! The file is skipped.";
  }
  return SampleIntervalProblem(path, sampleInterval);
}

std::string SkippedFilesText(int skipped) {
  if (skipped <= 0) return {};
  return " (" + std::to_string(skipped) + " skipped, named above)";
}

namespace {

std::string StopsHere(const std::string& path, int count) {
  return "\n" + path + ": " + std::to_string(count) + " sample lines; the run stops here.";
}

}  // namespace

std::string OverSampleLimitMessage(const std::string& path, int count) {
  return SamplingSizeMessage(count) + StopsHere(path, count);
}

std::string OverSampleLimitMessage(const std::string& path, int count, int limit) {
  return SampleLimitMessage(count, limit) + StopsHere(path, count);
}

}  // namespace plexo
