#pragma once
// OpenCV pictures (8-bit BGR) as Qt images.
#include <QImage>
#include <QPixmap>
#include <opencv2/core.hpp>

namespace plexo::qt {

// A deep copy, so the image outlives the matrix.
inline QImage ToQImage(const cv::Mat& bgr) {
  const QImage view(bgr.data, bgr.cols, bgr.rows, static_cast<int>(bgr.step),
                    QImage::Format_BGR888);
  return view.copy();
}

inline QPixmap ToQPixmap(const cv::Mat& bgr) { return QPixmap::fromImage(ToQImage(bgr)); }

}  // namespace plexo::qt
