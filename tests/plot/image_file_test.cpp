#include "plot/image_file.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <string>

#include "support/read_bmp.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

cv::Mat Pattern(int width, int height) {
  cv::Mat image(height, width, CV_8UC3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.at<cv::Vec3b>(y, x) =
          cv::Vec3b(static_cast<unsigned char>(x * 37 + y), static_cast<unsigned char>(y * 53 + 7),
                    static_cast<unsigned char>(x * y + 200));
    }
  }
  return image;
}

void PutLittleEndian(std::string& out, unsigned value, int size) {
  for (int i = 0; i < size; ++i, value >>= 8) out.push_back(static_cast<char>(value & 0xff));
}

// The file the previews have always been: a 14-byte file header, a 40-byte info header with
// no resolution and no palette, then BGR rows bottom-up, each padded with zeros to four bytes.
std::string PlainBmp(const cv::Mat& image) {
  const unsigned stride = (image.cols * 3 + 3) / 4 * 4;
  std::string out = "BM";
  PutLittleEndian(out, 54 + stride * image.rows, 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, 54, 4);
  PutLittleEndian(out, 40, 4);
  PutLittleEndian(out, image.cols, 4);
  PutLittleEndian(out, image.rows, 4);
  PutLittleEndian(out, 1, 2);
  PutLittleEndian(out, 24, 2);
  for (int i = 0; i < 6; ++i) PutLittleEndian(out, 0, 4);
  for (int y = image.rows - 1; y >= 0; --y) {
    for (int x = 0; x < image.cols; ++x) {
      const cv::Vec3b p = image.at<cv::Vec3b>(y, x);
      out.append({static_cast<char>(p[0]), static_cast<char>(p[1]), static_cast<char>(p[2])});
    }
    out.append(stride - image.cols * 3, '\0');
  }
  return out;
}

class BmpLayout : public ::testing::TestWithParam<cv::Size> {};

TEST_P(BmpLayout, IsThe24BitLayoutByteForByte) {
  const cv::Mat image = Pattern(GetParam().width, GetParam().height);
  const std::vector<unsigned char> bytes = EncodeBmp(image);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), PlainBmp(image));
  // A region of a larger image (rows not contiguous) is saved as its own pixels.
  const cv::Mat larger = Pattern(GetParam().width + 3, GetParam().height + 2);
  const cv::Mat region = larger(cv::Rect(1, 1, GetParam().width, GetParam().height));
  const std::vector<unsigned char> from_region = EncodeBmp(region);
  EXPECT_EQ(std::string(from_region.begin(), from_region.end()), PlainBmp(region));
}

// Widths 1 .. 4 need every row padding (3, 2, 1, 0 bytes); 800 x 300 is the preview size.
INSTANTIATE_TEST_SUITE_P(Sizes, BmpLayout,
                         ::testing::Values(cv::Size(1, 1), cv::Size(2, 3), cv::Size(3, 2),
                                           cv::Size(4, 5), cv::Size(800, 300)));

TEST(ImageFile, SavesBmpAndPngThatReadBackAsTheSamePixels) {
  testing::TempDir dir;
  const cv::Mat image = Pattern(33, 7);
  ASSERT_TRUE(SaveBmp(dir.File("p.bmp"), image));
  EXPECT_EQ(cv::norm(testing::ReadBmp24(dir.File("p.bmp")), image, cv::NORM_INF), 0.0);

  ASSERT_TRUE(SavePng(dir.File("p.png"), image));
  int width = 0, height = 0, channels = 0;
  const std::string png = testing::ReadBytes(dir.File("p.png"));
  unsigned char* rgb =
      stbi_load_from_memory(reinterpret_cast<const unsigned char*>(png.data()),
                            static_cast<int>(png.size()), &width, &height, &channels, 3);
  ASSERT_NE(rgb, nullptr);
  ASSERT_EQ(width, 33);
  ASSERT_EQ(height, 7);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = rgb + 3 * (y * width + x);
      ASSERT_EQ(cv::Vec3b(p[2], p[1], p[0]), image.at<cv::Vec3b>(y, x)) << x << "," << y;
    }
  }
  stbi_image_free(rgb);
}

TEST(ImageFile, RefusesWhatIsNotAnImageOfBgrBytes) {
  testing::TempDir dir;
  EXPECT_FALSE(SaveBmp(dir.File("empty.bmp"), cv::Mat()));
  EXPECT_FALSE(SavePng(dir.File("grey.png"), cv::Mat(4, 4, CV_8UC1, cv::Scalar(9))));
  EXPECT_FALSE(testing::Exists(dir.File("empty.bmp")));
  EXPECT_FALSE(SaveBmp(dir.File("missing/x.bmp"), Pattern(2, 2)));
}

}  // namespace
}  // namespace plexo
