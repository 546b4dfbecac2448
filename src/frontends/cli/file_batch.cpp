#include "frontends/cli/file_batch.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <iostream>
#include <mutex>
#include <new>
#include <optional>

#include "frontends/cli/cli_app.h"
#include "platform/file_system.h"
#include "platform/job_count.h"
#include "platform/ordered_workers.h"

namespace plexo::cli {
namespace {

// A file done is reported by the caller; any other gets its messages, prefixed with its name.
// A file that failed without a message (a result that could not be written) is named too, so
// that no file goes unreported.
void ReportFile(const std::string& file, CalcStatus status,
                const std::vector<std::string>& messages, Host& host,
                const DoneReport& report_done) {
  if (status == CalcStatus::kDone) {
    report_done(file);
    return;
  }
  for (const std::string& message : messages) host.MessageBox(file + ": " + message);
  if (messages.empty()) host.MessageBox(file + ": the results could not be written.");
}

// The host one file's calculation sees: it keeps the file's messages for its report and shows
// images through the batch's host on the calling thread, one at a time.
class FileHost : public Host {
 public:
  FileHost(OrderedWorkers& workers, Host& host, std::vector<std::string>& messages)
      : workers_(workers), host_(host), messages_(messages) {}
  void MessageBox(std::string_view text) override { messages_.emplace_back(text); }
  std::optional<std::string> OpenFile(std::string_view) override { return std::nullopt; }
  std::optional<std::string> BrowseForFolder() override { return std::nullopt; }
  void ShowImage(std::string_view title, const cv::Mat& image) override {
    workers_.OnCallingThread([&] { host_.ShowImage(title, image); });
  }
  void ShowChart(std::string_view title, const cv::Mat& image, const ChartData& chart) override {
    workers_.OnCallingThread([&] { host_.ShowChart(title, image, chart); });
  }

 private:
  OrderedWorkers& workers_;
  Host& host_;
  std::vector<std::string>& messages_;
};

}  // namespace

bool FileBatchResult::AllDone() const {
  return std::all_of(statuses.begin(), statuses.end(),
                     [](CalcStatus s) { return s == CalcStatus::kDone; });
}

int FileBatchResult::ExitCode() const {
  for (CalcStatus status : statuses) {
    if (status != CalcStatus::kDone) return ExitStatus(status);
  }
  return 0;
}

size_t FileBatchWorkers(size_t files, int jobs) {
  return std::max<size_t>(1, std::min<size_t>(files, static_cast<size_t>(JobCount(jobs))));
}

FileBatchResult RunFileBatch(const std::vector<std::string>& files, int jobs, Host& host,
                             CalcProgress& progress, const FileCalculation& calculate,
                             const DoneReport& report_done) {
  progress.SetRange(0, static_cast<int>(files.size()));
  FileBatchResult result;
  result.statuses.assign(files.size(), CalcStatus::kFailed);
  std::vector<std::vector<std::string>> messages(files.size());
  // The calling thread stays free to show the images the files' calculations hand it.
  OrderedWorkers workers(static_cast<int>(FileBatchWorkers(files.size(), jobs)), /*ahead=*/0,
                         OrderedWorkers::Caller::kServes);
  workers.Run(
      static_cast<int>(files.size()),
      [&](int k, int worker) {
        const size_t i = static_cast<size_t>(k);
        FileHost file_host(workers, host, messages[i]);
        try {
          result.statuses[i] = calculate(static_cast<size_t>(worker), files[i], file_host);
        } catch (const std::bad_alloc&) {
          file_host.MessageBox("Not enough memory for this file.");
        }
      },
      [&](int k) {
        const size_t i = static_cast<size_t>(k);
        ReportFile(files[i], result.statuses[i], messages[i], host, report_done);
        std::vector<std::string>().swap(messages[i]);
        progress.SetPos(k + 1);
        return true;
      });
  return result;
}

}  // namespace plexo::cli
