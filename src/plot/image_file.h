#pragma once
#include <opencv2/core.hpp>
#include <string>

namespace plexo {

// Saves the image as a BMP file, replacing an earlier one only once the new one is complete.
// False when it could not be written.
bool SaveBmp(const std::string& path, const cv::Mat& image);
// The same as a PNG file (8-bit RGB, lossless).
bool SavePng(const std::string& path, const cv::Mat& image);

}  // namespace plexo
