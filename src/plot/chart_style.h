#pragma once
// The look shared by every chart: colours, the chart font and the label number format.
#include <opencv2/core.hpp>
#include <string>

namespace plexo {

inline const cv::Scalar kWhite(255, 255, 255);
inline const cv::Scalar kBlack(0, 0, 0);
inline const cv::Scalar kGraphRed(0, 0, 255);
inline const cv::Scalar kAxisGrey(100, 100, 100);

// Hershey simplex at scale 0.4, thickness 1, 8-connected; origin at the bottom-left of the text.
void DrawChartText(cv::Mat& image, const std::string& text, cv::Point origin,
                   const cv::Scalar& colour);

// A division value as the labels print it ("%.2e" with a three-digit exponent).
std::string DivisionText(double value);

}  // namespace plexo
