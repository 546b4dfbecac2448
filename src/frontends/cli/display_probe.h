#pragma once
// Whether the display a window would open on can be reached. Qt ends the program (abort) when
// its platform cannot connect, so a stale DISPLAY (a server that is gone, an ssh session's
// forwarding closed) must be found out before Qt is started: the command line then says so and
// goes on as without a display.
#include <string>

namespace plexo::cli {

// The platform Qt will use: QT_QPA_PLATFORM's first entry, else "xcb" (Qt 5's default here).
std::string QtPlatformName();

// Empty when a window can be opened, else why not, in words for a message ("the X display :99
// cannot be reached: No such file or directory"). Only connects to the display's socket (at most
// two seconds for a display on another host); it does not start the window toolkit.
std::string DisplayProblem();

}  // namespace plexo::cli
