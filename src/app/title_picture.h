#pragma once
// The pictures the desktop shows: the 600 x 400 title picture of the main frame and the program
// icon. Both are drawn here, so the program carries no image files.
#include <opencv2/core.hpp>

namespace plexo {

inline constexpr int kTitlePictureWidth = 600;
inline constexpr int kTitlePictureHeight = 400;

// 8-bit BGR, kTitlePictureWidth x kTitlePictureHeight: the program name over a stylised
// acoustic-emission burst.
cv::Mat DrawTitlePicture();

// 8-bit BGR, size x size: a small burst on the title picture's background.
cv::Mat DrawProgramIcon(int size);

}  // namespace plexo
