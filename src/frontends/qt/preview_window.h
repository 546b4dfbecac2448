#pragma once
// The image window of every preview and viewer, modal over whatever window is open, ended by
// any key press but Home (and lone modifiers) or by its close box. Given the chart the picture
// was drawn from, it shows that interactively (ChartWidget: zoom, pan, the value under the
// mouse in a status line, Home for the whole chart) in a resizable window; else the picture 1:1
// at its own size. "Save image as..." (its context menu, or Ctrl+S) writes what is shown as
// PNG or BMP without ending the wait.
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <string_view>

namespace cv {
class Mat;
}
namespace plexo {
struct ChartData;
}

namespace plexo::qt {

class ChartWidget;

class PreviewWindow : public QDialog {
  Q_OBJECT

 public:
  PreviewWindow(const QString& title, const QImage& image, QWidget* parent = nullptr);
  // The chart is borrowed: it must outlive the window.
  PreviewWindow(const QString& title, const QImage& image, const ChartData* chart,
                QWidget* parent = nullptr);

  // The picture the window was given (the preview file's look).
  const QImage& Image() const { return image_; }
  // What is shown: the chart as drawn now, else the picture.
  QImage ShownImage() const;
  // The interactive chart and its status line; null without a chart.
  ChartWidget* Chart() const { return chart_; }
  QLabel* Readout() const { return readout_; }
  // Writes what is shown; the format follows the name's extension (".png" or ".bmp").
  bool SaveImage(const QString& path) const;

 public slots:
  void SaveImageAs();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QImage image_;
  QAction* saveAction_;
  ChartWidget* chart_ = nullptr;
  QLabel* readout_ = nullptr;
};

// The line under an interactive chart that says how to go on.
inline constexpr const char* kGoOnHint =
    "Press any key (but Home) to close this window and go on. Zoom: wheel or drag a rectangle; "
    "pan: middle button; whole chart: double click or Home.";

// Shows the picture in a PreviewWindow over the active window and returns after a key press
// or a close there. Callable from any thread: the window lives on the GUI thread and the
// caller waits. Needs a QApplication.
void ShowPreview(std::string_view title, const cv::Mat& image, const ChartData* chart = nullptr);

}  // namespace plexo::qt
