#pragma once
// The host of the command line: messages go to standard error verbatim, pickers are answered
// from the command line, images are shown only when asked for.
#include <deque>
#include <string>

#include "platform/host.h"

namespace plexo {

class HeadlessHost : public Host {
 public:
  explicit HeadlessHost(bool show_images = false) : show_images_(show_images) {}
  void MessageBox(std::string_view text) override;
  // A report of success: standard output, with the results ("Wrote ..."), not a message.
  void Inform(std::string_view text) override;
  std::optional<std::string> OpenFile(std::string_view filter) override;
  std::optional<std::string> BrowseForFolder() override;
  void ShowImage(std::string_view title, const cv::Mat& image) override;
  void ShowChart(std::string_view title, const cv::Mat& image, const ChartData& chart) override;

  // Answers for the next pickers, in order.
  void QueueFileAnswer(std::string path) { file_answers_.push_back(std::move(path)); }
  void QueueFolderAnswer(std::string path) { folder_answers_.push_back(std::move(path)); }
  int MessageCount() const { return message_count_; }

 private:
  bool show_images_;
  int message_count_ = 0;
  std::deque<std::string> file_answers_;
  std::deque<std::string> folder_answers_;
};

}  // namespace plexo
