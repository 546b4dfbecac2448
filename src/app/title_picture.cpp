#include "app/title_picture.h"

#include <cmath>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "plexo_version.h"

namespace plexo {

namespace {

const cv::Scalar kBackgroundTop(58, 30, 14);
const cv::Scalar kBackgroundBottom(96, 58, 24);
const cv::Scalar kGrid(120, 82, 44);
const cv::Scalar kBurst(60, 200, 255);
const cv::Scalar kEnvelope(200, 150, 80);
const cv::Scalar kText(245, 240, 235);
const cv::Scalar kSubText(220, 190, 150);

void FillGradient(cv::Mat& image) {
  for (int y = 0; y < image.rows; ++y) {
    const double a = image.rows > 1 ? static_cast<double>(y) / (image.rows - 1) : 0.0;
    const cv::Scalar colour = kBackgroundTop * (1.0 - a) + kBackgroundBottom * a;
    cv::line(image, {0, y}, {image.cols - 1, y}, colour);
  }
}

// Envelope of a burst: a quick rise after `onset`, then an exponential decay; time in [0, 1].
double Envelope(double t, double onset) {
  if (t < onset) return 0.0;
  const double u = t - onset;
  return (1.0 - std::exp(-u / 0.012)) * std::exp(-u / 0.16);
}

// A fixed, noise-like background from incommensurate sines, so the picture never changes.
double Noise(double t) {
  return 0.035 * std::sin(2 * M_PI * 173.0 * t) + 0.025 * std::sin(2 * M_PI * 311.7 * t + 1.3) +
         0.02 * std::sin(2 * M_PI * 457.3 * t + 0.4);
}

// The burst: two modes ringing down under the envelope, over the background.
double Burst(double t, double onset) {
  const double u = t - onset;
  const double ring = std::sin(2 * M_PI * 38.0 * u) + 0.45 * std::sin(2 * M_PI * 91.0 * u + 0.7);
  return Noise(t) + Envelope(t, onset) * ring / 1.45;
}

void DrawBurst(cv::Mat& image, cv::Rect area, double onset, int thickness, bool envelope) {
  const double mid = area.y + area.height / 2.0;
  const double half = area.height / 2.0;
  std::vector<cv::Point> signal;
  std::vector<cv::Point> upper;
  std::vector<cv::Point> lower;
  for (int x = 0; x < area.width; ++x) {
    const double t = static_cast<double>(x) / area.width;
    signal.emplace_back(area.x + x, static_cast<int>(std::lround(mid - half * Burst(t, onset))));
    const double e = half * Envelope(t, onset);
    upper.emplace_back(area.x + x, static_cast<int>(std::lround(mid - e)));
    lower.emplace_back(area.x + x, static_cast<int>(std::lround(mid + e)));
  }
  if (envelope) {
    cv::polylines(image, upper, false, kEnvelope, 1, cv::LINE_AA);
    cv::polylines(image, lower, false, kEnvelope, 1, cv::LINE_AA);
  }
  cv::polylines(image, signal, false, kBurst, thickness, cv::LINE_AA);
}

void DrawCentredText(cv::Mat& image, const std::string& text, int baseline, int font, double scale,
                     const cv::Scalar& colour, int thickness) {
  int base = 0;
  const cv::Size size = cv::getTextSize(text, font, scale, thickness, &base);
  cv::putText(image, text, {(image.cols - size.width) / 2, baseline}, font, scale, colour,
              thickness, cv::LINE_AA);
}

}  // namespace

cv::Mat DrawTitlePicture() {
  cv::Mat image(kTitlePictureHeight, kTitlePictureWidth, CV_8UC3);
  FillGradient(image);

  const cv::Rect plot(40, 150, 520, 200);
  for (int x = plot.x; x <= plot.x + plot.width; x += plot.width / 8) {
    cv::line(image, {x, plot.y}, {x, plot.y + plot.height}, kGrid, 1, cv::LINE_AA);
  }
  for (int y = plot.y; y <= plot.y + plot.height; y += plot.height / 4) {
    cv::line(image, {plot.x, y}, {plot.x + plot.width, y}, kGrid, 1, cv::LINE_AA);
  }
  DrawBurst(image, plot, 0.18, 2, true);

  DrawCentredText(image, "PLEXO++", 88, cv::FONT_HERSHEY_TRIPLEX, 2.4, kText, 3);
  DrawCentredText(image, "Acoustic Emission Waveform Analysis", 126, cv::FONT_HERSHEY_SIMPLEX, 0.75,
                  kSubText, 1);
  DrawCentredText(image, "Version " PLEXO_VERSION, 384, cv::FONT_HERSHEY_SIMPLEX, 0.5, kSubText, 1);
  return image;
}

cv::Mat DrawProgramIcon(int size) {
  cv::Mat image(size, size, CV_8UC3);
  FillGradient(image);
  const int margin = std::max(1, size / 16);
  DrawBurst(image, cv::Rect(margin, margin, size - 2 * margin, size - 2 * margin), 0.12,
            size >= 48 ? 2 : 1, false);
  return image;
}

}  // namespace plexo
