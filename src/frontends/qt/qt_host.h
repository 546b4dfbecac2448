#pragma once
// The desktop's Host: message boxes, file and folder pickers, image windows. Callable from any
// thread: a calculation's thread hands each request to the GUI thread and waits for the answer.
#include <QString>
#include <QStringList>
#include <functional>

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
  void ShowChart(std::string_view title, const cv::Mat& image, const ChartData& chart) override;
  std::optional<std::string> PickFolder(std::string_view title) override;
  void Inform(std::string_view text) override;
  UnsavedAnswer AskUnsaved(std::string_view text) override;
  // Tells the status sink (the main window's status bar) what was written.
  void ResultWritten(const std::vector<std::string>& paths) override;

  // Where ResultWritten's line goes, on the GUI thread; the main window sets it while it lives.
  static void SetStatusSink(std::function<void(const QString&)> sink);
};

// The status line for the files of one result: "Wrote PATH", or "Wrote PATH and N more files"
// (the first path is the result's table).
QString WrittenStatusText(const std::vector<std::string>& paths);

}  // namespace plexo::qt
