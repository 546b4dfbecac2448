#pragma once
// A host for tests: messages and images are kept, picker answers are queued beforehand.
#include <deque>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "platform/host.h"

namespace plexo {

class RecordingHost : public Host {
 public:
  struct ShownImage {
    std::string title;
    cv::Mat image;
  };

  void MessageBox(std::string_view text) override { messages.emplace_back(text); }
  std::optional<std::string> OpenFile(std::string_view filter) override {
    file_filters.emplace_back(filter);
    return Pop(file_answers);
  }
  std::optional<std::string> BrowseForFolder() override {
    ++folder_requests;
    return Pop(folder_answers);
  }
  void ShowImage(std::string_view title, const cv::Mat& image) override {
    images.push_back({std::string(title), image.clone()});
  }
  std::optional<std::string> PickFolder(std::string_view title) override {
    folder_titles.emplace_back(title);
    return BrowseForFolder();
  }
  void Inform(std::string_view text) override {
    messages.emplace_back(text);
    informed.emplace_back(text);
  }
  void ResultWritten(const std::vector<std::string>& paths) override {
    written.insert(written.end(), paths.begin(), paths.end());
  }

  UnsavedAnswer AskUnsaved(std::string_view text) override {
    questions.emplace_back(text);
    if (unsaved_answers.empty()) return UnsavedAnswer::kCancel;
    const UnsavedAnswer answer = unsaved_answers.front();
    unsaved_answers.pop_front();
    return answer;
  }

  std::vector<std::string> messages;
  std::vector<std::string> questions;         // the texts AskUnsaved was given
  std::deque<UnsavedAnswer> unsaved_answers;  // none left: kCancel
  std::vector<ShownImage> images;
  std::vector<std::string> file_filters;
  int folder_requests = 0;
  std::vector<std::string> folder_titles;  // the titles PickFolder was given
  std::vector<std::string> informed;       // messages given as Inform (also in `messages`)
  std::vector<std::string> written;        // paths of results put in place
  // std::nullopt entries stand for a cancelled picker.
  std::deque<std::optional<std::string>> file_answers;
  std::deque<std::optional<std::string>> folder_answers;

 private:
  static std::optional<std::string> Pop(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace plexo
