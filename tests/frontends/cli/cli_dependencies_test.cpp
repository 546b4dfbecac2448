// What the command-line program loads at start is paid on every call: it must not pull in
// libraries it does not need.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

namespace plexo {
namespace {

std::string DynamicDependencies() {
  std::string out;
  FILE* pipe = popen(("ldd " + std::string(PLEXO_BINARY) + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return out;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  pclose(pipe);
  return out;
}

TEST(CliDependencies, NoImageCodecLibraryAndNoWindowToolkit) {
  const std::string libraries = DynamicDependencies();
  if (libraries.find("libc.so") == std::string::npos) GTEST_SKIP() << "ldd gave no list";
  // Debian's image-codec library brings about a hundred more (GDAL, HDF5, OpenEXR, ...).
  EXPECT_EQ(libraries.find("libopencv_imgcodecs"), std::string::npos) << libraries;
  EXPECT_EQ(libraries.find("libgdal"), std::string::npos) << libraries;
  // Windows belong to plexo-desktop, which plexo starts only when they are asked for.
  EXPECT_EQ(libraries.find("libQt"), std::string::npos) << libraries;
  EXPECT_EQ(libraries.find("libopencv_highgui"), std::string::npos) << libraries;
}

}  // namespace
}  // namespace plexo
