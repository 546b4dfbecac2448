#pragma once
// The desktop's Host: message boxes, file and folder pickers, image windows. Callable from any
// thread: a calculation's thread hands each request to the GUI thread and waits for the answer.
#include <QStringList>

#include "platform/host.h"

namespace plexo::qt {

// The Qt form of a "Name(*.ext)|*.ext||" filter: one "Name (*.ext)" entry per pair.
QStringList ToQtNameFilters(std::string_view filter);

class QtHost : public Host {
 public:
  void MessageBox(std::string_view text) override;
  std::optional<std::string> OpenFile(std::string_view filter) override;
  std::optional<std::string> BrowseForFolder() override;
  void ShowImage(std::string_view title, const cv::Mat& image) override;
};

}  // namespace plexo::qt
