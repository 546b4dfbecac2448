// plexo: the command line. It loads no window toolkit: the desktop and the preview windows of
// --show belong to plexo-desktop beside it, which this program becomes (exec) when they are
// asked for and a display is there.
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "frontends/cli/cli_app.h"

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// A window can be opened: an X or Wayland display, or a Qt platform chosen explicitly.
bool DisplayAvailable() {
  return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM");
}

[[maybe_unused]] bool AsksForPreviews(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--show") == 0) return true;
  }
  return false;
}

// Replaces this process by plexo-desktop with the same arguments; returns only on failure.
[[maybe_unused]] int StartWindowProgram(int argc, char** argv) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::string program =
      ((error ? std::filesystem::path(argv[0]).parent_path() : self.parent_path()) /
       "plexo-desktop")
          .string();
  std::vector<char*> arguments(argv, argv + argc);
  arguments[0] = const_cast<char*>(program.c_str());
  arguments.push_back(nullptr);
  execv(program.c_str(), arguments.data());
  std::cerr << "The desktop program " << program << " cannot be started: " << std::strerror(errno)
            << std::endl;
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::function<int(int, char**)> desktop;
#ifdef PLEXO_HAVE_DESKTOP
  if (DisplayAvailable()) {
    if (AsksForPreviews(argc, argv)) return StartWindowProgram(argc, argv);
    desktop = StartWindowProgram;
  }
#else
  (void)DisplayAvailable;
#endif
  return plexo::cli::RunCommandLine(argc, argv, desktop);
}
