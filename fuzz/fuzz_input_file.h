#pragma once
// The readers take paths: each input is written to one temporary file first.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace plexo::fuzz {

inline const std::string& InputPath() {
  static const std::string path = [] {
    char name[] = "/tmp/plexo-fuzz-XXXXXX";
    int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    return std::string(name);
  }();
  return path;
}

inline const std::string& WriteInput(const uint8_t* data, size_t size) {
  const std::string& path = InputPath();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f != nullptr) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  return path;
}

}  // namespace plexo::fuzz
