#include "platform/image_window.h"

#include <atomic>
#include <iostream>

namespace plexo {

namespace {

std::atomic<ImageViewer> registered_viewer{nullptr};

}  // namespace

void SetImageViewer(ImageViewer viewer) { registered_viewer.store(viewer); }

bool ImageViewerAvailable() { return registered_viewer.load() != nullptr; }

void ShowImageAndWaitForKey(std::string_view title, const cv::Mat& image, const ChartData* chart) {
  if (ImageViewer viewer = registered_viewer.load()) {
    viewer(title, image, chart);
    return;
  }
  std::cerr << "No window can be shown for \"" << title << "\" (no display)." << std::endl;
}

}  // namespace plexo
