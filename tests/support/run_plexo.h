#pragma once
// Runs the plexo executable as a user would and collects what it printed.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace plexo::testing {

struct PlexoResult {
  int status = -1;     // exit status; -1 when it did not exit normally
  std::string output;  // standard output and standard error together
};

// Runs a shell command line; standard output and standard error together.
inline PlexoResult RunCommand(const std::string& command_line) {
  PlexoResult result;
  FILE* pipe = popen((command_line + " 2>&1 </dev/null").c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    result.output.append(buffer.data(), n);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

inline PlexoResult RunPlexo(const std::string& arguments) {
  return RunCommand(std::string(PLEXO_BINARY) + " " + arguments);
}

}  // namespace plexo::testing
