#pragma once
#include <string_view>

namespace cv {
class Mat;
}

namespace plexo {

// Opens an auto-sized image window, shows the image, waits for a key without time-out and
// destroys the window.
void ShowImageAndWaitForKey(std::string_view title, const cv::Mat& image);

}  // namespace plexo
