#include "frontends/cli/file_batch.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "frontends/cli/cli_app.h"
#include "platform/file_system.h"
#include "spectral/average_fft_pipeline.h"

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

// What the workers and the calling thread share. The calling thread is the only one that talks
// to the real host: it prints reports and shows images while the workers wait.
class BatchState {
 public:
  explicit BatchState(size_t files)
      : statuses_(files, CalcStatus::kFailed), messages_(files), finished_(files) {}

  // Worker side.
  std::optional<size_t> ClaimFile() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (next_file_ >= statuses_.size()) return std::nullopt;
    return next_file_++;
  }
  void AddMessage(size_t file, std::string_view text) {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_[file].emplace_back(text);
  }
  void Finish(size_t file, CalcStatus status) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      statuses_[file] = status;
      finished_[file] = true;
    }
    changed_.notify_all();
  }
  void WorkerExited() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++workers_exited_;
    }
    changed_.notify_all();
  }
  // Hands the image to the calling thread and returns once it has been shown there.
  void ShowOnCallingThread(std::string_view title, const cv::Mat& image) {
    std::unique_lock<std::mutex> lock(mutex_);
    const size_t ticket = ++images_posted_;
    images_.push_back({title, &image});
    changed_.notify_all();
    changed_.wait(lock, [&] { return images_shown_ >= ticket; });
  }

  // Calling-thread side: runs until every file is reported, `workers` having been started.
  void Serve(size_t workers, Host& host, CalcProgress& progress, const DoneReport& report_done,
             const std::vector<std::string>& files) {
    size_t reported = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    while (reported < files.size()) {
      changed_.wait(lock, [&] {
        return !images_.empty() || finished_[reported] || workers_exited_ == workers;
      });
      if (!images_.empty()) {
        const PendingImage image = images_.front();
        images_.pop_front();
        lock.unlock();
        host.ShowImage(image.title, *image.image);
        lock.lock();
        ++images_shown_;
        changed_.notify_all();
        continue;
      }
      if (!finished_[reported]) break;  // every worker is gone: nothing more will finish
      const CalcStatus status = statuses_[reported];
      const std::vector<std::string> messages = std::move(messages_[reported]);
      lock.unlock();
      ReportFile(files[reported], status, messages, host, report_done);
      progress.SetPos(static_cast<int>(reported + 1));
      lock.lock();
      ++reported;
    }
  }

  std::vector<CalcStatus> Statuses() {
    std::lock_guard<std::mutex> lock(mutex_);
    return statuses_;
  }

 private:
  struct PendingImage {
    std::string_view title;
    const cv::Mat* image;
  };

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<CalcStatus> statuses_;
  std::vector<std::vector<std::string>> messages_;
  std::vector<bool> finished_;
  size_t next_file_ = 0;
  size_t workers_exited_ = 0;
  std::deque<PendingImage> images_;
  size_t images_posted_ = 0;
  size_t images_shown_ = 0;
};

// The host one file's calculation sees.
class FileHost : public Host {
 public:
  FileHost(BatchState& state, size_t file) : state_(state), file_(file) {}
  void MessageBox(std::string_view text) override { state_.AddMessage(file_, text); }
  std::optional<std::string> OpenFile(std::string_view) override { return std::nullopt; }
  std::optional<std::string> BrowseForFolder() override { return std::nullopt; }
  void ShowImage(std::string_view title, const cv::Mat& image) override {
    state_.ShowOnCallingThread(title, image);
  }

 private:
  BatchState& state_;
  size_t file_;
};

void Work(BatchState& state, size_t worker, const std::vector<std::string>& files,
          const FileCalculation& calculate) {
  while (const std::optional<size_t> file = state.ClaimFile()) {
    FileHost host(state, *file);
    CalcStatus status = CalcStatus::kFailed;
    try {
      status = calculate(worker, files[*file], host);
    } catch (const std::bad_alloc&) {
      host.MessageBox("Not enough memory for this file.");
    }
    state.Finish(*file, status);
  }
  state.WorkerExited();
}

// No thread could be started: the calling thread does the files one after the other.
FileBatchResult RunFilesHere(const std::vector<std::string>& files, Host& host,
                             CalcProgress& progress, const FileCalculation& calculate,
                             const DoneReport& report_done) {
  class CollectingHost : public Host {
   public:
    explicit CollectingHost(Host& host) : host_(host) {}
    void MessageBox(std::string_view text) override { messages.emplace_back(text); }
    std::optional<std::string> OpenFile(std::string_view) override { return std::nullopt; }
    std::optional<std::string> BrowseForFolder() override { return std::nullopt; }
    void ShowImage(std::string_view title, const cv::Mat& image) override {
      host_.ShowImage(title, image);
    }
    std::vector<std::string> messages;

   private:
    Host& host_;
  };
  FileBatchResult result;
  for (size_t i = 0; i < files.size(); ++i) {
    CollectingHost file_host(host);
    const CalcStatus status = calculate(0, files[i], file_host);
    result.statuses.push_back(status);
    ReportFile(files[i], status, file_host.messages, host, report_done);
    progress.SetPos(static_cast<int>(i + 1));
  }
  return result;
}

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
  return std::max<size_t>(1, std::min<size_t>(files, static_cast<size_t>(ResolveJobCount(jobs))));
}

FileBatchResult RunFileBatch(const std::vector<std::string>& files, int jobs, Host& host,
                             CalcProgress& progress, const FileCalculation& calculate,
                             const DoneReport& report_done) {
  BatchState state(files.size());
  progress.SetRange(0, static_cast<int>(files.size()));
  std::vector<std::thread> workers;
  const size_t wanted = FileBatchWorkers(files.size(), jobs);
  for (size_t w = 0; w < wanted; ++w) {
    try {
      workers.emplace_back(Work, std::ref(state), w, std::cref(files), std::cref(calculate));
    } catch (const std::system_error&) {
      break;  // go on with the workers that did start
    }
  }
  if (workers.empty()) return RunFilesHere(files, host, progress, calculate, report_done);
  state.Serve(workers.size(), host, progress, report_done, files);
  for (std::thread& worker : workers) worker.join();
  return {state.Statuses()};
}

}  // namespace plexo::cli
