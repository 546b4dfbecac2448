#include <cstdlib>
#include <functional>

#include "frontends/cli/cli_app.h"
#ifdef PLEXO_HAVE_QT
#include "frontends/qt/desktop.h"
#endif

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// A window can be opened: an X or Wayland display, or a Qt platform chosen explicitly.
bool DisplayAvailable() {
  return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
  std::function<int(int, char**)> desktop;
#ifdef PLEXO_HAVE_QT
  if (DisplayAvailable()) desktop = plexo::qt::RunDesktop;
#else
  (void)DisplayAvailable;
#endif
  return plexo::cli::RunCommandLine(argc, argv, desktop);
}
