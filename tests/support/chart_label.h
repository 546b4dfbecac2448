#pragma once
// Reads a chart label back from the pixels: the text a chart should show is drawn once more on a
// blank image with the chart font, and the pixels of the label's colour around it must be
// exactly those of the chart. Labels are drawn last and in a colour the ground never has (grey
// on white and red, white on the colour map, black on the colour bar's white box), so a wrong
// digit, a wrong place or a missing label all change the pixels compared.
#include <gtest/gtest.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

#include "plot/chart_style.h"

namespace plexo::testing {

// Success when `image` shows `text` with its bottom-left at `origin` in `colour`.
inline ::testing::AssertionResult ShowsLabel(const cv::Mat& image, const std::string& text,
                                             cv::Point origin, const cv::Scalar& colour) {
  const cv::Vec3b pixel(static_cast<uchar>(colour[0]), static_cast<uchar>(colour[1]),
                        static_cast<uchar>(colour[2]));
  const cv::Scalar ground = pixel == cv::Vec3b(0, 0, 0) ? cv::Scalar(255, 255, 255) : kBlack;
  cv::Mat expected(image.size(), CV_8UC3, ground);
  DrawChartText(expected, text, origin, colour);

  // The box of the expected text's pixels, one pixel wider on the left, the right and the top
  // (below a label there may be a tick mark right under its lowest pixels).
  cv::Mat expected_mask;
  cv::inRange(expected, colour, colour, expected_mask);
  const cv::Rect drawn = cv::boundingRect(expected_mask);
  if (drawn.empty()) return ::testing::AssertionFailure() << "\"" << text << "\" draws nothing";
  const cv::Rect box = (drawn - cv::Point(1, 1) + cv::Size(2, 1)) & cv::Rect({}, image.size());

  cv::Mat actual_mask;
  cv::inRange(image(box), colour, colour, actual_mask);
  const int differing = cv::countNonZero(actual_mask != expected_mask(box));
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differing << " pixels differ from \"" << text << "\" at ("
                                       << origin.x << ", " << origin.y << ")";
}

}  // namespace plexo::testing
