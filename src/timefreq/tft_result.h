#pragma once
// The end of a Single TFT: its table and preview written as one result. The table is formatted
// on a thread of its own while the preview is painted, shown and encoded on the caller's; then
// both replace the earlier files together, or neither does.
#include <functional>
#include <opencv2/core.hpp>
#include <string>
#include <string_view>

#include "platform/host.h"
#include "plot/chart_data.h"

namespace plexo {

class ResultFiles;
class TextFileWriter;

// The preview picture (the file's) and the chart it was drawn from (the window's).
struct TftPreview {
  cv::Mat image;
  ChartData chart;
};

struct TftResultParts {
  std::string tablePath;    // empty: the output type asks for no table
  std::string previewPath;  // empty: no preview image is written (it is still shown)
  std::string_view title;   // of the preview window
  // Writes the table text; false when the matrix cannot be written (nothing is replaced then).
  std::function<bool(TextFileWriter&)> writeTable;
  std::function<TftPreview()> makePreview;
};

// With `shared` null the result is committed here (kDone, or kFailed after the message naming
// the file and the reason); else its files join `shared`, whose owner commits them (kDone when
// they were staged).
CalcStatus FinishTftResult(const TftResultParts& parts, ResultFiles* shared, Host& host);

}  // namespace plexo
