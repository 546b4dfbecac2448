#pragma once
// The image window of every preview and viewer: the picture 1:1 at its own size, modal over
// whatever window is open, ended by any key press or by its close box. "Save image as..." (its
// context menu, or Ctrl+S) writes the picture as PNG or BMP without ending the wait.
#include <QDialog>
#include <QImage>
#include <string_view>

namespace cv {
class Mat;
}

namespace plexo::qt {

class PreviewWindow : public QDialog {
  Q_OBJECT

 public:
  PreviewWindow(const QString& title, const QImage& image, QWidget* parent = nullptr);

  const QImage& Image() const { return image_; }
  // Writes the picture; the format follows the name's extension (".png" or ".bmp").
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
};

// Shows the picture in a PreviewWindow over the active window and returns after a key press
// or a close there. Callable from any thread: the window lives on the GUI thread and the
// caller waits. Needs a QApplication.
void ShowPreview(std::string_view title, const cv::Mat& image);

}  // namespace plexo::qt
