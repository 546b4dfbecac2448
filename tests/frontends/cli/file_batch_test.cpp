#include "frontends/cli/file_batch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <opencv2/core.hpp>
#include <thread>

#include "platform/recording_host.h"

namespace plexo::cli {
namespace {

// Remembers on which thread images are shown and whether two were ever shown at once.
class ThreadCheckingHost : public RecordingHost {
 public:
  void ShowImage(std::string_view title, const cv::Mat& image) override {
    if (showing_.exchange(true)) overlapped = true;
    if (std::this_thread::get_id() != caller) off_thread = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    RecordingHost::ShowImage(title, image);
    showing_ = false;
  }
  std::thread::id caller = std::this_thread::get_id();
  bool overlapped = false;
  bool off_thread = false;

 private:
  std::atomic<bool> showing_{false};
};

class FileBatch : public ::testing::TestWithParam<int> {};

TEST_P(FileBatch, ReportsEveryFileInOrderAndShowsImagesOneAtATimeOnTheCallingThread) {
  std::vector<std::string> files;
  for (int i = 0; i < 12; ++i) {
    std::string name = "f";  // (GCC 12 warns wrongly about "f" + std::to_string(i))
    name += std::to_string(i);
    files.push_back(name);
  }
  ThreadCheckingHost host;
  NullProgress progress;
  std::vector<std::string> reported;
  const FileBatchResult result = RunFileBatch(
      files, GetParam(), host, progress,
      [](size_t, const std::string& file, Host& file_host) {
        const int i = std::stoi(file.substr(1));
        // Later files finish first, so the order of the reports is the batch's doing.
        std::this_thread::sleep_for(std::chrono::milliseconds(12 - i));
        file_host.ShowImage(file, cv::Mat(1, 1, CV_8UC3, cv::Scalar(i, 0, 0)));
        if (i % 4 == 1) {
          file_host.MessageBox("No data present in file or error during loading!");
          return CalcStatus::kRefused;
        }
        return i == 10 ? CalcStatus::kFailed : CalcStatus::kDone;
      },
      [&](const std::string& file) { reported.push_back(file); });

  EXPECT_EQ(reported, (std::vector<std::string>{"f0", "f2", "f3", "f4", "f6", "f7", "f8", "f11"}));
  EXPECT_EQ(host.messages,
            (std::vector<std::string>{"f1: No data present in file or error during loading!",
                                      "f5: No data present in file or error during loading!",
                                      "f9: No data present in file or error during loading!",
                                      "f10: the results could not be written."}));
  EXPECT_EQ(host.images.size(), files.size());
  EXPECT_FALSE(host.overlapped);
  EXPECT_FALSE(host.off_thread);
  EXPECT_FALSE(result.AllDone());
  EXPECT_EQ(result.ExitCode(), 1);  // the first file not done was refused
  EXPECT_EQ(result.statuses[10], CalcStatus::kFailed);
}

INSTANTIATE_TEST_SUITE_P(Jobs, FileBatch, ::testing::Values(1, 2, 5, 0));

TEST(FileBatchWorkers, NeverMoreThanFilesNorFewerThanOne) {
  EXPECT_EQ(FileBatchWorkers(3, 8), 3u);
  EXPECT_EQ(FileBatchWorkers(10, 2), 2u);
  EXPECT_EQ(FileBatchWorkers(0, 2), 1u);
  EXPECT_GE(FileBatchWorkers(100, 0), 1u);
}

}  // namespace
}  // namespace plexo::cli
