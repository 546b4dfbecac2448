#include "platform/image_window.h"

#include <opencv2/highgui.hpp>
#include <string>

namespace plexo {

void ShowImageAndWaitForKey(std::string_view title, const cv::Mat& image) {
  const std::string name(title);
  // Wait for a key, or for the user to close the window: under a Qt application of our own,
  // waitKey alone never notices the close and would wait forever.
  try {
    cv::namedWindow(name, cv::WINDOW_AUTOSIZE);
    cv::imshow(name, image);
    while (cv::waitKey(50) < 0) {
      if (cv::getWindowProperty(name, cv::WND_PROP_VISIBLE) < 1.0) break;
    }
    cv::destroyWindow(name);
  } catch (const cv::Exception&) {
    // The window went away (closed, or no display left); nothing is left to close.
  }
}

}  // namespace plexo
