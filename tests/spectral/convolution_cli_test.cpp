// plexo convolve / deconvolve: exit status and what they tell the user.
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
  const char* arguments;  // {} stands for the folder, {tf} for a flat 256-bin transfer function
  int exit_status;        // -1: a usage error
  const char* in_stdout;
  const char* in_stderr;
  const char* written;  // file expected in procData, or ""
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void Replace(std::string& text, const std::string& key, const std::string& value) {
  for (size_t at; (at = text.find(key)) != std::string::npos;) text.replace(at, key.size(), value);
}

class ConvolveCommand : public ::testing::TestWithParam<CliCase> {};

TEST_P(ConvolveCommand, ExitsZeroOnlyWhenResultsAreWritten) {
  const CliCase c = GetParam();
  std::string pattern = (fs::temp_directory_path() / "plexo_convcli_XXXXXX").string();
  const std::string dir = mkdtemp(pattern.data());
  const std::string folder = dir + "/waves";
  fs::create_directory(folder);
  WaveformHeader header;
  header.sampleInterval = 1e-7;
  const std::vector<double> samples(200, 0.5);
  ASSERT_TRUE(WriteWaveformSci(folder + "/a.txt", samples.data(), 200, header));
  std::string transfer = "flat\n";
  for (int i = 0; i < 256; ++i) transfer += "1\t0\n";
  std::ofstream(dir + "/flat.tf") << transfer;

  std::string arguments = c.arguments;
  Replace(arguments, "{tf}", dir + "/flat.tf");
  Replace(arguments, "{}", folder);
  const std::string command = std::string(PLEXO_BINARY) + " " + arguments + " >" + dir +
                              "/out.log 2>" + dir + "/err.log </dev/null";
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), c.exit_status);
  EXPECT_NE(Slurp(dir + "/out.log").find(c.in_stdout), std::string::npos)
      << Slurp(dir + "/out.log");
  EXPECT_NE(Slurp(dir + "/err.log").find(c.in_stderr), std::string::npos)
      << Slurp(dir + "/err.log");
  if (*c.written) {
    EXPECT_TRUE(fs::exists(folder + "/procData/" + c.written));
  }
  fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ConvolveCommand,
    ::testing::Values(
        CliCase{"Convolve", "convolve {} --transfer {tf} --precision 8", 0,
                "Wrote 1 waveform files into", "", "a.txt"},
        CliCase{"DeconvolveColumns", "deconvolve {} --transfer {tf} --precision 8 --output columns",
                0, "procData/DuvidiWaveforms.txt", "procData/DuvidiWaveforms.txt",
                "DuvidiWaveforms.txt"},
        CliCase{"DefaultPrecisionMismatch", "convolve {} --transfer {tf}", 1, "",
                "Transfer-Function sampling size (256) is not equal to FFT-precision "
                "(1.638400e+004)!",
                ""},
        CliCase{"MissingFolder", "convolve {}/nowhere --transfer {tf} --precision 8", 2, "",
                "nowhere: No such file or directory", ""},
        CliCase{"NoTransferGiven", "convolve {} --transfer '' --precision 8", 1, "",
                "No transfer function given: name its file with --transfer FILE", ""},
        CliCase{"MissingTransfer", "convolve {} --transfer {}/none.tf --precision 8", 2, "",
                "none.tf: No such file or directory", ""},
        CliCase{"PrecisionAboveTheSampleLimit", "convolve {} --transfer {tf} --precision 15", 1, "",
                "FFT-precision of 15 is outside the program limits of 0 and 14! (a "
                "larger sample limit, --max-samples N, allows P up to 20)",
                ""},
        CliCase{"RaisedLimitKeepsTheSmallTransform",
                "convolve {} --transfer {tf} --precision 8 --max-samples 1048576", 0,
                "Wrote 1 waveform files into", "", "a.txt"},
        CliCase{"NoSampleLimit", "deconvolve {} --transfer {tf} --precision 8 --max-samples 100",
                64, "", "is not a sample limit", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plexo
