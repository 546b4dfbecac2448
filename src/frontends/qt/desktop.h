#pragma once
// The desktop program: the Qt application with the main frame.

namespace plexo::qt {

// Runs the desktop until its main window closes; returns the exit status.
int RunDesktop(int argc, char** argv);

}  // namespace plexo::qt
