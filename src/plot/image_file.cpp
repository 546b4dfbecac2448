#include "plot/image_file.h"

#include <stb/stb_image_write.h>

#include "platform/text_file.h"

namespace plexo {
namespace {

// The encoder takes rows of RGB pixels; the images are BGR.
std::vector<unsigned char> RgbPixels(const cv::Mat& image) {
  std::vector<unsigned char> rgb(static_cast<size_t>(image.rows) * image.cols * 3);
  unsigned char* out = rgb.data();
  for (int y = 0; y < image.rows; ++y) {
    const unsigned char* row = image.ptr<unsigned char>(y);
    for (int x = 0; x < image.cols; ++x, row += 3, out += 3) {
      out[0] = row[2];
      out[1] = row[1];
      out[2] = row[0];
    }
  }
  return rgb;
}

void AppendBytes(void* context, void* data, int size) {
  auto* bytes = static_cast<std::vector<unsigned char>*>(context);
  const auto* first = static_cast<const unsigned char*>(data);
  bytes->insert(bytes->end(), first, first + size);
}

bool Encodable(const cv::Mat& image) { return !image.empty() && image.type() == CV_8UC3; }

bool SaveBytes(const std::string& path, const std::vector<unsigned char>& bytes,
               std::string* error) {
  return !bytes.empty() && WriteBinaryFile(path, bytes.data(), bytes.size(), error);
}

}  // namespace

std::vector<unsigned char> EncodeBmp(const cv::Mat& image) {
  std::vector<unsigned char> bytes;
  if (!Encodable(image)) return bytes;
  const std::vector<unsigned char> rgb = RgbPixels(image);
  // 54 header bytes, then rows bottom-up in BGR order, each padded to four bytes.
  bytes.reserve(54 + static_cast<size_t>(image.rows) * ((image.cols * 3 + 3) & ~3));
  if (!stbi_write_bmp_to_func(AppendBytes, &bytes, image.cols, image.rows, 3, rgb.data()))
    bytes.clear();
  return bytes;
}

std::vector<unsigned char> EncodePng(const cv::Mat& image) {
  std::vector<unsigned char> bytes;
  if (!Encodable(image)) return bytes;
  const std::vector<unsigned char> rgb = RgbPixels(image);
  if (!stbi_write_png_to_func(AppendBytes, &bytes, image.cols, image.rows, 3, rgb.data(),
                              image.cols * 3))
    bytes.clear();
  return bytes;
}

bool SaveBmp(const std::string& path, const cv::Mat& image, std::string* error) {
  return SaveBytes(path, EncodeBmp(image), error);
}

bool WriteBmp(TextFileWriter& out, const cv::Mat& image) {
  const std::vector<unsigned char> bytes = EncodeBmp(image);
  if (bytes.empty()) return false;
  out.Write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  return true;
}

bool SavePng(const std::string& path, const cv::Mat& image, std::string* error) {
  return SaveBytes(path, EncodePng(image), error);
}

}  // namespace plexo
