#include "plot/chart_style.h"

#include <opencv2/imgproc.hpp>

#include "signal/number_text.h"

namespace plexo {

void DrawChartText(cv::Mat& image, const std::string& text, cv::Point origin,
                   const cv::Scalar& colour) {
  cv::putText(image, text, origin, cv::FONT_HERSHEY_SIMPLEX, 0.4, colour, 1, cv::LINE_8, false);
}

std::string DivisionText(double value) { return FormatE(value, 2); }

}  // namespace plexo
