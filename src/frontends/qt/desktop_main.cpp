// plexo-desktop: the program with windows. `plexo` starts it when the desktop is asked for (no
// command, a display there) or a command wants its previews shown (--show); it runs every
// command too, so the two programs never differ in what a command does.
#include <cstdlib>
#include <cstring>
#include <functional>

#include "frontends/cli/cli_app.h"
#include "frontends/cli/display_probe.h"
#include "frontends/cli/window_request.h"
#include "frontends/qt/desktop.h"
#include "frontends/qt/preview_app.h"

namespace {

using plexo::cli::AsksForPreviews;
using plexo::cli::DisplayAvailable;

}  // namespace

int main(int argc, char** argv) {
  std::function<int(int, char**)> desktop;
  // Started by hand on a display that is gone, Qt would abort: run as without a display.
  const bool usable = DisplayAvailable() && plexo::cli::DisplayProblem().empty();
  if (usable) {
    desktop = plexo::qt::RunDesktop;
    if (AsksForPreviews(argc, argv)) {
      return plexo::qt::RunWithPreviewWindows(
          argc, argv, [&] { return plexo::cli::RunCommandLine(argc, argv, nullptr); });
    }
  }
  return plexo::cli::RunCommandLine(argc, argv, desktop);
}
