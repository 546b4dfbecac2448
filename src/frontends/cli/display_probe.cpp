#include "frontends/cli/display_probe.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace plexo::cli {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// Connects a socket to `address`, waiting at most two seconds; 0 or the errno of the failure.
int ConnectWithin(int family, int type, int protocol, const sockaddr* address, socklen_t length) {
  const int fd = socket(family, type | SOCK_CLOEXEC | SOCK_NONBLOCK, protocol);
  if (fd < 0) return errno;
  int error = 0;
  if (connect(fd, address, length) != 0) {
    error = errno;
    if (error == EINPROGRESS) {
      pollfd wait{fd, POLLOUT, 0};
      if (poll(&wait, 1, 2000) != 1) {
        error = ETIMEDOUT;
      } else {
        socklen_t size = sizeof error;
        if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
      }
    }
  }
  close(fd);
  return error;
}

// A local stream socket by path; `abstract` puts it in Linux's abstract namespace (X servers
// listen on both).
int ConnectLocal(const std::string& path, bool abstract) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const size_t offset = abstract ? 1 : 0;
  if (path.size() + offset >= sizeof address.sun_path) return ENAMETOOLONG;
  std::memcpy(address.sun_path + offset, path.data(), path.size());
  const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset +
                                                  path.size() + (abstract ? 0 : 1));
  return ConnectWithin(AF_UNIX, SOCK_STREAM, 0, reinterpret_cast<const sockaddr*>(&address),
                       length);
}

int ConnectTcp(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
    return EHOSTUNREACH;
  int error = EHOSTUNREACH;
  for (addrinfo* a = found; a != nullptr && error != 0; a = a->ai_next) {
    error = ConnectWithin(a->ai_family, a->ai_socktype, a->ai_protocol, a->ai_addr, a->ai_addrlen);
  }
  freeaddrinfo(found);
  return error;
}

// DISPLAY is [host]:number[.screen]; a local display is the socket /tmp/.X11-unix/X<number>,
// a remote one TCP port 6000 + number. Forms this does not know are left to the toolkit.
std::string X11Problem() {
  const std::string display = Environment("DISPLAY");
  if (display.empty()) return "no X display is set (DISPLAY)";
  const size_t colon = display.rfind(':');
  if (colon == std::string::npos) return {};
  const std::string host = display.substr(0, colon);
  const std::string rest = display.substr(colon + 1);
  char* end = nullptr;
  const long number = std::strtol(rest.c_str(), &end, 10);
  if (end == rest.c_str() || number < 0 || number > 65535 - 6000 || (*end != '\0' && *end != '.'))
    return {};
  if (host.find('/') != std::string::npos) return {};  // a launchd-style path: not ours to judge
  int error = 0;
  if (host.empty() || host == "unix") {
    const std::string socket_path = "/tmp/.X11-unix/X" + std::to_string(number);
    error = ConnectLocal(socket_path, false);
    if (error != 0 && ConnectLocal(socket_path, true) == 0) error = 0;
  } else {
    error = ConnectTcp(host, 6000 + static_cast<int>(number));
  }
  if (error == 0) return {};
  return "the X display " + display + " cannot be reached: " + std::strerror(error);
}

std::string WaylandProblem() {
  std::string name = Environment("WAYLAND_DISPLAY");
  if (name.empty()) name = "wayland-0";
  std::string path = name;
  if (name.front() != '/') {
    const std::string runtime = Environment("XDG_RUNTIME_DIR");
    if (runtime.empty()) return "no Wayland display can be found (XDG_RUNTIME_DIR is not set)";
    path = runtime + "/" + name;
  }
  const int error = ConnectLocal(path, false);
  if (error == 0) return {};
  return "the Wayland display " + name + " cannot be reached: " + std::strerror(error);
}

}  // namespace

std::string QtPlatformName() {
  std::string platform = Environment("QT_QPA_PLATFORM");
  platform = platform.substr(0, platform.find_first_of(";:"));
  return platform.empty() ? "xcb" : platform;
}

std::string DisplayProblem() {
  const std::string platform = QtPlatformName();
  if (platform == "xcb") return X11Problem();
  if (platform.rfind("wayland", 0) == 0) return WaylandProblem();
  return {};  // offscreen, minimal, vnc, ...: nothing to connect to beforehand
}

}  // namespace plexo::cli
