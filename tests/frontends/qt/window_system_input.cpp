#include "window_system_input.h"

#include <qpa/qwindowsysteminterface.h>

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <cstdlib>

#ifdef PLEXO_TEST_X11
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// Xlib's event-type macros would shadow Qt's enumerators of the same names.
#undef KeyPress
#undef KeyRelease
#endif

namespace plexo::qt::testing {

namespace {

#ifdef PLEXO_TEST_X11
KeySym ToKeySym(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Space:
      return XK_space;
    case Qt::Key_Escape:
      return XK_Escape;
    case Qt::Key_Return:
      return XK_Return;
    case Qt::Key_Home:
      return XK_Home;
    case Qt::Key_Left:
      return XK_Left;
    case Qt::Key_Right:
      return XK_Right;
    default:
      if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return XK_a + (qtKey - Qt::Key_A);
      // Digits, '-' and '.' share their codes with their characters, in Qt and in X.
      if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || qtKey == Qt::Key_Minus ||
          qtKey == Qt::Key_Period)
        return static_cast<KeySym>(qtKey);
      return XK_space;
  }
}
#endif

QString KeyText(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Space:
      return " ";
    case Qt::Key_Escape:
      return QString(QChar(0x1b));
    case Qt::Key_Return:
      return "\r";
    default:
      if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return QString(QChar('a' + (qtKey - Qt::Key_A)));
      if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || qtKey == Qt::Key_Minus ||
          qtKey == Qt::Key_Period)
        return QString(QChar(qtKey));
      return QString();
  }
}

#ifdef PLEXO_TEST_X11
// Where a point of `widget` lies on the X screen: the X server counts device pixels, Qt's global
// coordinates are logical ones (they differ by the scale factor, QT_SCALE_FACTOR=1.5 say).
QPoint ScreenPixel(QWidget* widget, QPoint local) {
  const QPoint global = widget->mapToGlobal(local);
  const QWindow* window = widget->window()->windowHandle();
  const double ratio = window != nullptr ? window->devicePixelRatio() : 1.0;
  return {static_cast<int>(std::lround(global.x() * ratio)),
          static_cast<int>(std::lround(global.y() * ratio))};
}
#endif

}  // namespace

WindowSystemInput::WindowSystemInput() {
  x11_ = QGuiApplication::platformName() == "xcb";
#ifdef PLEXO_TEST_X11
  if (x11_) {
    Display* display = XOpenDisplay(nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (display != nullptr && XTestQueryExtension(display, &event, &error, &major, &minor)) {
      display_ = display;
      available_ = true;
    } else if (display != nullptr) {
      XCloseDisplay(display);
    }
  }
#endif
  if (!x11_) available_ = true;
}

WindowSystemInput::~WindowSystemInput() {
#ifdef PLEXO_TEST_X11
  if (display_ != nullptr) XCloseDisplay(static_cast<Display*>(display_));
#endif
}

QString WindowSystemInput::PlatformName() const { return QGuiApplication::platformName(); }

void WindowSystemInput::Click(QWidget* widget) {
  const QPoint local = widget->rect().center();
  const QPoint global = widget->mapToGlobal(local);
#ifdef PLEXO_TEST_X11
  if (x11_) {
    auto* display = static_cast<Display*>(display_);
    const QPoint screen = ScreenPixel(widget, local);
    XTestFakeMotionEvent(display, -1, screen.x(), screen.y(), CurrentTime);
    XTestFakeButtonEvent(display, 1, True, 10);
    XTestFakeButtonEvent(display, 1, False, 10);
    XFlush(display);
    return;
  }
#endif
  QWindow* window = widget->window()->windowHandle();
  const QPoint inWindow = widget->mapTo(widget->window(), local);
  QWindowSystemInterface::handleMouseEvent(window, inWindow, global, Qt::LeftButton, Qt::LeftButton,
                                           QEvent::MouseButtonPress);
  QWindowSystemInterface::handleMouseEvent(window, inWindow, global, Qt::NoButton, Qt::LeftButton,
                                           QEvent::MouseButtonRelease);
}

void WindowSystemInput::MoveMouse(QWidget* widget, QPoint at) {
  const QPoint global = widget->mapToGlobal(at);
#ifdef PLEXO_TEST_X11
  if (x11_) {
    auto* display = static_cast<Display*>(display_);
    const QPoint screen = ScreenPixel(widget, at);
    XTestFakeMotionEvent(display, -1, screen.x(), screen.y(), CurrentTime);
    XFlush(display);
    return;
  }
#endif
  QWindowSystemInterface::handleMouseEvent(widget->window()->windowHandle(),
                                           widget->mapTo(widget->window(), at), global, held_,
                                           Qt::NoButton, QEvent::MouseMove);
}

void WindowSystemInput::Button(QWidget* widget, QPoint at, Qt::MouseButton button, bool press) {
  const QPoint global = widget->mapToGlobal(at);
#ifdef PLEXO_TEST_X11
  if (x11_) {
    auto* display = static_cast<Display*>(display_);
    const QPoint screen = ScreenPixel(widget, at);
    XTestFakeMotionEvent(display, -1, screen.x(), screen.y(), CurrentTime);
    const unsigned int x_button = button == Qt::MiddleButton  ? 2
                                  : button == Qt::RightButton ? 3
                                                              : 1;
    XTestFakeButtonEvent(display, x_button, press ? True : False, CurrentTime);
    XFlush(display);
    return;
  }
#endif
  held_ = press ? (held_ | button) : (held_ & ~Qt::MouseButtons(button));
  QWindowSystemInterface::handleMouseEvent(
      widget->window()->windowHandle(), widget->mapTo(widget->window(), at), global, held_, button,
      press ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease);
}

void WindowSystemInput::Drag(QWidget* widget, QPoint from, QPoint to, Qt::MouseButton button) {
  MoveMouse(widget, from);
  Button(widget, from, button, true);
  for (int step = 1; step <= 4; ++step) MoveMouse(widget, from + (to - from) * step / 4);
  Button(widget, to, button, false);
}

void WindowSystemInput::DoubleClick(QWidget* widget, QPoint at) {
  MoveMouse(widget, at);
  for (int i = 0; i < 2; ++i) {
    Button(widget, at, Qt::LeftButton, true);
    Button(widget, at, Qt::LeftButton, false);
  }
}

void WindowSystemInput::TurnWheel(QWidget* widget, QPoint at, int notches) {
  const QPoint global = widget->mapToGlobal(at);
#ifdef PLEXO_TEST_X11
  if (x11_) {
    // Buttons 4 and 5 are the wheel's notches away from and towards the person.
    auto* display = static_cast<Display*>(display_);
    const QPoint screen = ScreenPixel(widget, at);
    XTestFakeMotionEvent(display, -1, screen.x(), screen.y(), CurrentTime);
    for (int i = 0; i < std::abs(notches); ++i) {
      XTestFakeButtonEvent(display, notches > 0 ? 4 : 5, True, CurrentTime);
      XTestFakeButtonEvent(display, notches > 0 ? 4 : 5, False, CurrentTime);
    }
    XFlush(display);
    return;
  }
#endif
  QWindowSystemInterface::handleWheelEvent(widget->window()->windowHandle(),
                                           widget->mapTo(widget->window(), at), global, QPoint(),
                                           QPoint(0, 120 * notches));
}

void WindowSystemInput::PressKey(int qtKey, Qt::KeyboardModifiers modifiers) {
  const bool control = modifiers.testFlag(Qt::ControlModifier);
#ifdef PLEXO_TEST_X11
  if (x11_) {
    auto* display = static_cast<Display*>(display_);
    const KeyCode code = XKeysymToKeycode(display, ToKeySym(qtKey));
    const KeyCode control_code = XKeysymToKeycode(display, XK_Control_L);
    if (control) XTestFakeKeyEvent(display, control_code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, 10);
    if (control) XTestFakeKeyEvent(display, control_code, False, 10);
    XFlush(display);
    return;
  }
#endif
  // A keyboard types into the focus window; when there is none the key is lost, as it would be.
  QWindow* focus = QGuiApplication::focusWindow();
  if (focus == nullptr) return;
  // A Control chord types no text.
  const QString text = control ? QString() : KeyText(qtKey);
  const Qt::KeyboardModifiers held = control ? Qt::ControlModifier : Qt::NoModifier;
  QWindowSystemInterface::handleKeyEvent(focus, QEvent::KeyPress, qtKey, held, text);
  QWindowSystemInterface::handleKeyEvent(focus, QEvent::KeyRelease, qtKey, held, text);
}

void WindowSystemInput::RequestClose(QWidget* window) {
#ifdef PLEXO_TEST_X11
  if (x11_) {
    auto* display = static_cast<Display*>(display_);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(window->window()->winId());
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XFlush(display);
    return;
  }
#endif
  QWindowSystemInterface::handleCloseEvent(window->window()->windowHandle());
}

#ifdef PLEXO_TEST_X11
namespace {

// Searches the window tree: with a window manager the clients sit inside its frames.
bool FindTitled(Display* display, Window window, const QByteArray& title, int depth) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) != 0 && name != nullptr) {
    const bool match = title == name;
    XFree(name);
    if (match) return true;
  }
  if (depth == 0) return false;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) return false;
  bool found = false;
  for (unsigned int i = 0; i < count && !found; ++i) {
    found = FindTitled(display, children[i], title, depth - 1);
  }
  if (children != nullptr) XFree(children);
  return found;
}

}  // namespace
#endif

bool WindowSystemInput::X11WindowTitled(const QString& title) const {
#ifdef PLEXO_TEST_X11
  if (x11_ && display_ != nullptr) {
    auto* display = static_cast<Display*>(display_);
    return FindTitled(display, DefaultRootWindow(display), title.toUtf8(), 3);
  }
#endif
  (void)title;
  return false;
}

}  // namespace plexo::qt::testing
