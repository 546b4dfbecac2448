#pragma once
// The main frame's client area: the title picture, unscaled at (20, 10).
#include <QFrame>
#include <QImage>

namespace plexo::qt {

class CPictureView : public QFrame {
  Q_OBJECT

 public:
  explicit CPictureView(QWidget* parent = nullptr);

  static constexpr int kPictureX = 20;
  static constexpr int kPictureY = 10;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace plexo::qt
