#pragma once
// The image window of the command line's --show. The window itself belongs to the desktop
// toolkit, which this layer does not know: the front end that can open windows registers its
// viewer once at start-up; without one, asking for a window says so on stderr and returns.
#include <string_view>

namespace cv {
class Mat;
}

namespace plexo {

struct ChartData;

// Shows the image in a window with the given title and returns after a key press there (or
// after the window is closed). With a chart (else null) the window draws that interactively.
using ImageViewer = void (*)(std::string_view title, const cv::Mat& image, const ChartData* chart);

// Set once by the front end before any calculation runs; null removes it.
void SetImageViewer(ImageViewer viewer);

// Whether a viewer is registered, so that --show can be refused before any work is done.
bool ImageViewerAvailable();

// Shows the image with the registered viewer; without one, writes a note to stderr.
void ShowImageAndWaitForKey(std::string_view title, const cv::Mat& image,
                            const ChartData* chart = nullptr);

}  // namespace plexo
