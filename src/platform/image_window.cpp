#include "platform/image_window.h"

#include <opencv2/highgui.hpp>
#include <string>

namespace plexo {

void ShowImageAndWaitForKey(std::string_view title, const cv::Mat& image) {
  const std::string name(title);
  cv::namedWindow(name, cv::WINDOW_AUTOSIZE);
  cv::imshow(name, image);
  cv::waitKey(0);
  cv::destroyWindow(name);
}

}  // namespace plexo
