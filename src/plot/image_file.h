#pragma once
#include <opencv2/core.hpp>
#include <string>
#include <vector>

namespace plexo {

class TextFileWriter;

// Saves an 8-bit three-channel (BGR) image as a 24-bit BMP file, replacing an earlier one only
// once the new one is complete. False when it could not be written or the image is empty or of
// another type.
// `error`, when given, receives the message naming the file and the reason of a failure.
bool SaveBmp(const std::string& path, const cv::Mat& image, std::string* error = nullptr);
// The same as a PNG file (8-bit RGB, lossless).
bool SavePng(const std::string& path, const cv::Mat& image, std::string* error = nullptr);
// The BMP bytes into a file of a result (see result_files.h); false when the image cannot be
// encoded.
bool WriteBmp(TextFileWriter& out, const cv::Mat& image);

// The encoded bytes of those files; empty when the image is empty or not 8-bit BGR.
std::vector<unsigned char> EncodeBmp(const cv::Mat& image);
std::vector<unsigned char> EncodePng(const cv::Mat& image);

}  // namespace plexo
