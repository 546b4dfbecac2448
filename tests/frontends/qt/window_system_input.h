#pragma once
// Input delivered the way a person's would arrive: through the window system, not by sending
// events to a widget object. On X11 (the xcb platform, e.g. under Xvfb) the X server gets fake
// device events (XTest) and close requests, and routes them like real ones: keys go to the
// window that has the keyboard focus. Elsewhere (the offscreen platform) the events enter Qt
// where a platform plugin hands them over, with keys going to Qt's focus window.
#include <QPoint>
#include <QString>
#include <Qt>

class QWidget;

namespace plexo::qt::testing {

class WindowSystemInput {
 public:
  WindowSystemInput();
  ~WindowSystemInput();
  WindowSystemInput(const WindowSystemInput&) = delete;
  WindowSystemInput& operator=(const WindowSystemInput&) = delete;

  // False when the platform has a window system this class cannot reach.
  bool Available() const { return available_; }
  QString PlatformName() const;

  // A left click in the middle of `widget`.
  void Click(QWidget* widget);
  // The mouse moved to `at` (in `widget`'s coordinates), no button held.
  void MoveMouse(QWidget* widget, QPoint at);
  // The mouse moved to `from`, `button` (left, middle or right) pressed, moved in steps to `to` and
  // released there.
  void Drag(QWidget* widget, QPoint from, QPoint to, Qt::MouseButton button);
  // The wheel turned by `notches` (positive: away from the person) with the mouse at `at`.
  void TurnWheel(QWidget* widget, QPoint at, int notches);
  // Two left clicks in quick succession at `at`.
  void DoubleClick(QWidget* widget, QPoint at);
  // A key pressed and released on the keyboard: it goes wherever the keyboard focus is.
  // `qtKey` is Qt::Key_Space, Qt::Key_Escape, Qt::Key_Return, Qt::Key_Home, Qt::Key_Left,
  // Qt::Key_Right, a letter or digit key, Qt::Key_Minus or Qt::Key_Period; with Qt::ControlModifier
  // the Control key is held down around it.
  void PressKey(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // The close box of `window`'s title bar (WM_DELETE_WINDOW on X11).
  void RequestClose(QWidget* window);

  // X11 only: whether any client on the display shows a window with this title (another
  // process's windows included); false elsewhere.
  bool X11WindowTitled(const QString& title) const;

 private:
  // A button pressed or released with the mouse at `at` in `widget`.
  void Button(QWidget* widget, QPoint at, Qt::MouseButton button, bool press);
  Qt::MouseButtons held_ = Qt::NoButton;  // for the offscreen platform's events
  bool x11_ = false;
  bool available_ = false;
  void* display_ = nullptr;  // the X connection of the fake events
};

}  // namespace plexo::qt::testing
