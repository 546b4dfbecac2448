#include "timefreq/tft_result.h"

#include <opencv2/core.hpp>

#include "platform/result_files.h"
#include "platform/side_task.h"
#include "plot/image_file.h"

namespace plexo {

CalcStatus FinishTftResult(const TftResultParts& parts, ResultFiles* shared, Host& host) {
  ResultFiles own;
  ResultFiles& result = shared != nullptr ? *shared : own;
  // Both files are added here, on this thread; the side task only writes into its own.
  TextFileWriter* table_file = parts.tablePath.empty()
                                   ? nullptr
                                   : &result.Add(parts.tablePath, /*translate_newlines=*/false);
  TextFileWriter* preview_file = parts.previewPath.empty()
                                     ? nullptr
                                     : &result.Add(parts.previewPath, /*translate_newlines=*/false);
  SideTask table([&] {
    if (table_file == nullptr) return true;
    // Finishing here keeps the last writes of the table beside the preview's work too.
    return parts.writeTable(*table_file) && table_file->Finish();
  });
  const TftPreview shown = parts.makePreview();
  const cv::Mat& preview = shown.image;
  host.ShowChart(parts.title, preview, shown.chart);
  const bool preview_encoded = preview_file == nullptr || WriteBmp(*preview_file, preview);
  const bool table_written = table.Join();
  // A table the matrix could not fill, or an image that cannot be encoded, is incomplete
  // without a file error: it must not be committed.
  const std::string& incomplete = !table_written && table_file->Error().empty() ? parts.tablePath
                                  : !preview_encoded                            ? parts.previewPath
                                                                                : std::string();
  if (!incomplete.empty()) return ReportIncomplete(incomplete, host);
  if (shared != nullptr) return CalcStatus::kDone;
  return CommitResult(result, host) ? CalcStatus::kDone : CalcStatus::kFailed;
}

}  // namespace plexo
