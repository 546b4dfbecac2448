#pragma once
// A plain reader for the 24-bit uncompressed BMP files the previews are saved as: the pixels as
// an 8-bit BGR image, empty when the file is not such a BMP.
#include <opencv2/core.hpp>
#include <string>

#include "support/temp_dir.h"

namespace plexo::testing {

inline unsigned LittleEndian(const std::string& bytes, size_t at, int size) {
  unsigned value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = value * 256 + static_cast<unsigned char>(bytes[at + i]);
  return value;
}

inline cv::Mat DecodeBmp24(const std::string& bytes) {
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return {};
  const int width = static_cast<int>(LittleEndian(bytes, 18, 4));
  const int height = static_cast<int>(LittleEndian(bytes, 22, 4));
  const size_t offset = LittleEndian(bytes, 10, 4);
  if (LittleEndian(bytes, 28, 2) != 24 || LittleEndian(bytes, 30, 4) != 0) return {};
  if (width <= 0 || height <= 0) return {};
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  if (bytes.size() < offset + stride * height) return {};
  cv::Mat image(height, width, CV_8UC3);
  for (int y = 0; y < height; ++y) {
    const size_t row = offset + stride * (height - 1 - y);  // rows are stored bottom-up
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < 3; ++c) {
        image.at<cv::Vec3b>(y, x)[c] = static_cast<unsigned char>(bytes[row + 3 * x + c]);
      }
    }
  }
  return image;
}

inline cv::Mat ReadBmp24(const std::string& path) { return DecodeBmp24(ReadBytes(path)); }

}  // namespace plexo::testing
