// plexo avg-fft: exit status and what it tells the user.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "signal/waveform_file.h"

namespace plexo {
namespace {

namespace fs = std::filesystem;

struct CliCase {
  const char* name;
  const char* arguments;  // after "avg-fft"; {} stands for the folder
  int exit_status;        // -1: a usage error
  const char* in_stdout;
  const char* in_stderr;
  bool table;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class AvgFftCommand : public ::testing::TestWithParam<CliCase> {};

TEST_P(AvgFftCommand, ExitsZeroOnlyWhenTheTableIsWritten) {
  const CliCase c = GetParam();
  std::string pattern = (fs::temp_directory_path() / "plexo_avgcli_XXXXXX").string();
  const std::string dir = mkdtemp(pattern.data());
  const std::string folder = dir + "/waves";
  fs::create_directory(folder);
  if (std::string(c.name) != "Empty") {
    WaveformHeader header;
    header.sampleInterval = 1e-7;
    const std::vector<double> samples(4096, 1.0);
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
      ASSERT_TRUE(WriteWaveformSci(folder + "/" + name, samples.data(), 4096, header));
  }
  std::string arguments = c.arguments;
  const size_t slot = arguments.find("{}");
  if (slot != std::string::npos) arguments.replace(slot, 2, folder);
  const std::string command = std::string(PLEXO_BINARY) + " avg-fft " + arguments + " >" + dir +
                              "/out.log 2>" + dir + "/err.log </dev/null";
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), c.exit_status);
  EXPECT_NE(Slurp(dir + "/out.log").find(c.in_stdout), std::string::npos)
      << Slurp(dir + "/out.log");
  EXPECT_NE(Slurp(dir + "/err.log").find(c.in_stderr), std::string::npos)
      << Slurp(dir + "/err.log");
  // Standard error is no terminal here: no progress bar.
  EXPECT_EQ(Slurp(dir + "/err.log").find('\r'), std::string::npos);
  EXPECT_EQ(fs::exists(folder + "/avgFFTData/average_FFT.txt"), c.table);
  fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, AvgFftCommand,
    ::testing::Values(CliCase{"Default", "{}", 0, "avgFFTData/average_FFT.txt", "", true},
                      CliCase{"GatedTwoJobs", "{} --window 200us --jobs 2", 0,
                              "Averaged 3 waveform files", "", true},
                      CliCase{"Missing", "{}/nowhere", 2, "", "nowhere: No such file or directory",
                              false},
                      CliCase{"Empty", "{}", 1, "", "no table written", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plexo
