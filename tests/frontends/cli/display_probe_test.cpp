// A display that is set but cannot be reached (a stale DISPLAY) is found before the window
// toolkit starts: plexo then prints its help, or refuses --show, instead of aborting.
#include "frontends/cli/display_probe.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace plexo::cli {
namespace {

struct ProgramRun {
  int status = -1;  // exit status, or 128 + signal
  std::string output;
};

ProgramRun RunPlexo(const std::string& environment, const std::string& arguments) {
  const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                              environment + " '" + PLEXO_BINARY + "' " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ProgramRun run;
  if (pipe == nullptr) return run;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
  const int status = pclose(pipe);
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.status = 128 + WTERMSIG(status);
  return run;
}

// A display number nothing listens on.
int FreeDisplayNumber() {
  for (int n = 97; n < 200; ++n) {
    const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
    if (access(lock.c_str(), F_OK) != 0 && access(socket.c_str(), F_OK) != 0) return n;
  }
  return -1;
}

class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnvironment() {
    if (had_)
      setenv(name_, old_.c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(DisplayProbe, TellsAStaleDisplayFromAUsablePlatform) {
  const int n = FreeDisplayNumber();
  ASSERT_GE(n, 0);
  const std::string display = ":" + std::to_string(n);
  {
    ScopedEnvironment platform("QT_QPA_PLATFORM", nullptr);
    ScopedEnvironment x("DISPLAY", display.c_str());
    const std::string problem = DisplayProblem();
    EXPECT_NE(problem.find("the X display " + display + " cannot be reached"), std::string::npos)
        << problem;
  }
  {
    ScopedEnvironment platform("QT_QPA_PLATFORM", "offscreen");
    ScopedEnvironment x("DISPLAY", display.c_str());
    EXPECT_EQ(DisplayProblem(), "");  // nothing to connect to
    EXPECT_EQ(QtPlatformName(), "offscreen");
  }
  {
    ScopedEnvironment platform("QT_QPA_PLATFORM", "wayland");
    ScopedEnvironment runtime("XDG_RUNTIME_DIR", "/nonexistent-runtime");
    ScopedEnvironment wayland("WAYLAND_DISPLAY", "wayland-9");
    EXPECT_NE(DisplayProblem().find("the Wayland display wayland-9 cannot be reached"),
              std::string::npos);
  }
}

TEST(DisplayProbe, ReachesADisplayThatListens) {
  // A stand-in X server: a socket in the abstract namespace, where X servers listen too.
  const int n = FreeDisplayNumber();
  ASSERT_GE(n, 0);
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = "/tmp/.X11-unix/X" + std::to_string(n);
  std::memcpy(address.sun_path + 1, path.data(), path.size());
  const socklen_t length =
      static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), length), 0) << std::strerror(errno);
  ASSERT_EQ(listen(fd, 1), 0);
  const std::string display = ":" + std::to_string(n) + ".0";
  ScopedEnvironment platform("QT_QPA_PLATFORM", "xcb");
  ScopedEnvironment x("DISPLAY", display.c_str());
  EXPECT_EQ(DisplayProblem(), "");
  close(fd);
}

TEST(DisplayProbe, StaleDisplayGivesTheHelpNotAnAbort) {
  const std::string display = "DISPLAY=:" + std::to_string(FreeDisplayNumber());
  const ProgramRun desktop = RunPlexo(display, "");
  EXPECT_EQ(desktop.status, 64) << desktop.output;
  EXPECT_NE(desktop.output.find("cannot be reached"), std::string::npos) << desktop.output;
  EXPECT_NE(desktop.output.find("No command given, and no desktop can be opened"),
            std::string::npos);
  EXPECT_EQ(desktop.output.find("Reinstalling"), std::string::npos) << desktop.output;
}

TEST(DisplayProbe, ShowWithoutAWindowIsRefusedBeforeAnyWork) {
  char folder[] = "/tmp/plexo_show_test_XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string hit = std::string(folder) + "/hit.txt";
  ASSERT_EQ(std::system(("cp '" PLEXO_EXAMPLES_DIR "/hit_001.txt' '" + hit + "'").c_str()), 0);
  for (const std::string& environment :
       {std::string(), "DISPLAY=:" + std::to_string(FreeDisplayNumber())}) {
    for (const std::string& arguments : {"fft '" + hit + "' --show", "view '" + hit + "' --show"}) {
      const ProgramRun run = RunPlexo(environment, arguments);
      EXPECT_EQ(run.status, 1) << environment << " " << arguments << "\n" << run.output;
      EXPECT_NE(run.output.find("plexo: --show needs a display"), std::string::npos) << run.output;
    }
  }
  EXPECT_NE(access((std::string(folder) + "/hit_fft.txt").c_str(), F_OK), 0);
  std::system(("rm -rf '" + std::string(folder) + "'").c_str());
}

}  // namespace
}  // namespace plexo::cli
