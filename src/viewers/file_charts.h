#pragma once
// The charts of the file viewers: a waveform file as a signal chart, an FFT file (single or
// average) as a spectrum chart, a TFT file as a time-frequency chart with its colour bar. Each
// reads the file into the viewer's workspace, draws the plot image at data resolution and turns
// it into the display image of its chart kind (charts.h).
#include <opencv2/core.hpp>
#include <string>

#include "plot/chart_data.h"
#include "signal/waveform.h"
#include "spectral/fft_file.h"
#include "timefreq/tft_file_reader.h"
#include "viewers/viewer_kind.h"

namespace plexo {

// The buffers of the three viewers, kept between views (the TFT matrix is 64 MiB of address
// space, touched only where a file stores values).
struct ViewerWorkspace {
  RealWaveform waveform;
  FftFileContent fft;
  TftFileContent tft;
};

struct FileChart {
  int readResult = -1;      // the reader's result: samples, FFT points or R; -1 or 0: nothing drawn
  cv::Mat image;            // the display image; empty when nothing was drawn
  cv::Size plotSize;        // the plot image at data resolution
  double largest = 0.0;     // M, the largest value the plotting routine met
  double horizontal = 0.0;  // the value the horizontal label prints per division
  double vertical = 0.0;    // the value the vertical label prints per division
  std::string readProblem;  // why a waveform file's content was refused (see ReadWaveformReal)
  ChartData data;           // the interactive chart; it borrows the workspace's buffers
};

// Reads the file with the reader of its kind and draws its chart. A waveform file longer than
// MAX_SAMPLES shows its first MAX_SAMPLES samples.
FileChart DrawFileChart(ViewerKind kind, const std::string& path, ViewerWorkspace& workspace);

}  // namespace plexo
