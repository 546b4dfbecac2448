#include "app/title_picture.h"

#include <gtest/gtest.h>

#include <opencv2/core.hpp>

namespace plexo {
namespace {

TEST(TitlePictureTest, IsAFixedColourPictureOfTheTitleSize) {
  const cv::Mat picture = DrawTitlePicture();
  ASSERT_EQ(picture.cols, 600);
  ASSERT_EQ(picture.rows, 400);
  ASSERT_EQ(picture.type(), CV_8UC3);
  // Drawn, not blank, and the same every time.
  cv::Mat grey;
  cv::Scalar mean, deviation;
  cv::meanStdDev(picture, mean, deviation);
  EXPECT_GT(deviation[0] + deviation[1] + deviation[2], 20.0);
  EXPECT_EQ(cv::norm(picture, DrawTitlePicture(), cv::NORM_INF), 0.0);
}

TEST(TitlePictureTest, IconComesInTheAskedSize) {
  for (int size : {16, 32, 64}) {
    const cv::Mat icon = DrawProgramIcon(size);
    EXPECT_EQ(icon.cols, size);
    EXPECT_EQ(icon.rows, size);
    EXPECT_EQ(icon.type(), CV_8UC3);
  }
}

}  // namespace
}  // namespace plexo
