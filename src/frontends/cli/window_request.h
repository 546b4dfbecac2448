#pragma once
// Whether a run asks for windows and can have them; `plexo` and `plexo-desktop` decide alike.
#include <cstdlib>
#include <cstring>

namespace plexo::cli {

// A window can be opened: an X or Wayland display, or a Qt platform chosen explicitly.
inline bool DisplayAvailable() {
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

// The command line asks for its previews to be shown.
inline bool AsksForPreviews(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--show") == 0) return true;
  }
  return false;
}

}  // namespace plexo::cli
