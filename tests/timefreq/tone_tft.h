#pragma once
// Test helpers for reading frequencies off time-frequency results: a pure tone written as a
// waveform file, the matrix lines of a TFT file (label and summed cells), and the row of a
// painted map that the strongest colour occupies.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "signal/waveform_file.h"
#include "support/temp_dir.h"

namespace plexo::testing {

// amplitude * sin(2 pi f k dt) for k = 0 .. count-1, in "%e", dt in the header.
inline void WriteTone(const std::string& path, double frequency, int count, double dt,
                      double amplitude = 1.0) {
  std::vector<double> x(count);
  for (int k = 0; k < count; ++k) x[k] = amplitude * std::sin(2.0 * M_PI * frequency * k * dt);
  WaveformHeader header;
  header.channel = 1;
  header.sampleInterval = dt;
  header.units = "V";
  ASSERT_TRUE(WriteWaveformSci(path, x.data(), count, header));
}

struct TftLinesRead {
  std::vector<double> labels;  // first cell of every matrix line
  std::vector<double> sums;    // the line's cells added up
};

// The matrix lines (after the three header lines and the time line) of a modulus TFT file.
inline TftLinesRead ReadTftLines(const std::string& path) {
  const std::string text = ReadBytes(path);
  TftLinesRead read;
  size_t start = 0;
  for (int line = 0; start < text.size(); ++line) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    if (line >= 4) {
      const std::string row = text.substr(start, end - start);
      read.labels.push_back(std::strtod(row.c_str(), nullptr));
      double sum = 0.0;
      for (size_t tab = row.find('\t'); tab + 1 < row.size(); tab = row.find('\t', tab + 1))
        sum += std::strtod(row.c_str() + tab + 1, nullptr);
      read.sums.push_back(sum);
    }
    start = end + 2;
  }
  return read;
}

inline double StrongestLabel(const TftLinesRead& read) {
  size_t best = 0;
  for (size_t i = 1; i < read.sums.size(); ++i)
    if (read.sums[i] > read.sums[best]) best = i;
  return read.labels.at(best);
}

// The frequency a reader takes from an 800 x 600 time-frequency chart with the printed
// per-division value: the pixel row whose columns x0 .. x1-1 are reddest on average (the colour
// scale puts the largest values in red), read from the bottom at 20 pixels a division.
inline double ReadPaintedFrequency(const cv::Mat& chart, double perDivision, int x0 = 250,
                                   int x1 = 640) {
  int bestRow = 0;
  double bestScore = -1e300;
  for (int y = 0; y < 600; ++y) {
    double score = 0.0;
    for (int x = x0; x < x1; ++x) {
      const cv::Vec3b p = chart.at<cv::Vec3b>(y, x);
      score += static_cast<double>(p[2]) - p[1] - p[0];
    }
    if (score > bestScore) {
      bestScore = score;
      bestRow = y;
    }
  }
  return (600.0 - bestRow - 0.5) / 20.0 * perDivision;
}

}  // namespace plexo::testing
