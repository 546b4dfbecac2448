#include "plot/image_file.h"

#include <opencv2/imgcodecs.hpp>
#include <vector>

#include "signal/text_file.h"

namespace plexo {

bool SaveBmp(const std::string& path, const cv::Mat& image) {
  if (image.empty()) return false;
  std::vector<unsigned char> bytes;
  if (!cv::imencode(".bmp", image, bytes)) return false;
  return WriteBinaryFile(path, bytes.data(), bytes.size());
}

bool SavePng(const std::string& path, const cv::Mat& image) {
  if (image.empty()) return false;
  std::vector<unsigned char> bytes;
  if (!cv::imencode(".png", image, bytes)) return false;
  return WriteBinaryFile(path, bytes.data(), bytes.size());
}

}  // namespace plexo
