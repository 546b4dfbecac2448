#pragma once
// The command line with --show: the command runs on a worker thread while this thread runs the
// Qt event loop that the preview windows need.
#include <functional>

namespace plexo::qt {

// Runs `command` with preview windows available and returns its exit status.
int RunWithPreviewWindows(int argc, char** argv, const std::function<int()>& command);

}  // namespace plexo::qt
