#include "platform/headless_host.h"

#include <iostream>

#include "platform/image_window.h"

namespace plexo {

void HeadlessHost::MessageBox(std::string_view text) {
  ++message_count_;
  std::cerr << text << std::endl;
}

void HeadlessHost::Inform(std::string_view text) { std::cout << text << std::endl; }

std::optional<std::string> HeadlessHost::OpenFile(std::string_view) {
  if (file_answers_.empty()) return std::nullopt;
  std::string answer = std::move(file_answers_.front());
  file_answers_.pop_front();
  return answer;
}

std::optional<std::string> HeadlessHost::BrowseForFolder() {
  if (folder_answers_.empty()) return std::nullopt;
  std::string answer = std::move(folder_answers_.front());
  folder_answers_.pop_front();
  return answer;
}

void HeadlessHost::ShowImage(std::string_view title, const cv::Mat& image) {
  if (show_images_) ShowImageAndWaitForKey(title, image);
}

void HeadlessHost::ShowChart(std::string_view title, const cv::Mat& image, const ChartData& chart) {
  if (show_images_) ShowImageAndWaitForKey(title, image, &chart);
}

}  // namespace plexo
