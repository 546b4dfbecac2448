// plexo without a command and without a display prints its help and fails.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace plexo {
namespace {

TEST(StartWithoutDisplayTest, PrintsTheHelpAndExitsWithFailure) {
  const std::string command =
      std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '") + PLEXO_BINARY +
      "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = pclose(pipe);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 64);  // a command is missing: a usage error
  EXPECT_NE(output.find("fft"), std::string::npos) << output;
  EXPECT_NE(output.find("plexo: No command given, and no desktop can be opened without a display."),
            std::string::npos)
      << output;
}

}  // namespace
}  // namespace plexo
