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

#ifdef PLEXO_HAVE_DESKTOP
// plexo-desktop beside this program (the build tree), else where an installation puts it.
std::string DesktopProgram(const char* argv0) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) self = argv0;
  const std::filesystem::path folder = self.parent_path();
  const std::filesystem::path beside = folder / "plexo-desktop";
  if (access(beside.c_str(), X_OK) == 0) return beside.string();
  return (folder / PLEXO_DESKTOP_FROM_BIN / "plexo-desktop").lexically_normal().string();
}

// Replaces this process by plexo-desktop with the same arguments; returns only on failure.
int StartWindowProgram(int argc, char** argv) {
  const std::string program = DesktopProgram(argv[0]);
  std::vector<char*> arguments(argv, argv + argc);
  arguments[0] = const_cast<char*>(program.c_str());
  arguments.push_back(nullptr);
  execv(program.c_str(), arguments.data());
  std::cerr << "The desktop program " << program << " cannot be started: " << std::strerror(errno)
            << std::endl;
  return 1;
}
#endif

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
