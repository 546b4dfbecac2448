#include "viewers/file_viewers.h"

#include <string>

namespace plexo {

bool HasViewerExtension(std::string_view path) {
  const size_t dot = path.rfind('.');
  const std::string_view extension = dot == std::string_view::npos ? path : path.substr(dot);
  return extension == ".txt";
}

CalcStatus ViewFile(ViewerKind kind, ViewerWorkspace& workspace, Host& host) {
  const std::string path = host.OpenFile(ViewerFilter(kind)).value_or(std::string());
  if (!HasViewerExtension(path)) {
    host.MessageBox(kWrongFiletypeMessage);
    return CalcStatus::kRefused;
  }
  const FileChart chart = DrawFileChart(kind, path, workspace);
  if (chart.readResult <= 0) {
    host.MessageBox(chart.readProblem.empty() ? kNoDataMessage
                                              : std::string_view(chart.readProblem));
    return CalcStatus::kRefused;
  }
  host.ShowChart(ViewerTitle(kind), chart.image, chart.data);
  return CalcStatus::kDone;
}

}  // namespace plexo
