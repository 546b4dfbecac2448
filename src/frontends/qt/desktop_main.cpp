// plexo-desktop: the program with windows. `plexo` starts it when the desktop is asked for (no
// command, a display there) or a command wants its previews shown (--show); it runs every
// command too, so the two programs never differ in what a command does.
#include <cstdlib>
#include <cstring>
#include <functional>

#include "frontends/cli/cli_app.h"
#include "frontends/qt/desktop.h"
#include "frontends/qt/preview_app.h"

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// A window can be opened: an X or Wayland display, or a Qt platform chosen explicitly.
bool DisplayAvailable() {
  return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM");
}

bool AsksForPreviews(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--show") == 0) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::function<int(int, char**)> desktop;
  if (DisplayAvailable()) {
    desktop = plexo::qt::RunDesktop;
    if (AsksForPreviews(argc, argv)) {
      return plexo::qt::RunWithPreviewWindows(
          argc, argv, [&] { return plexo::cli::RunCommandLine(argc, argv, nullptr); });
    }
  }
  return plexo::cli::RunCommandLine(argc, argv, desktop);
}
