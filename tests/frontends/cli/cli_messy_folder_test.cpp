// The folder commands (avg-fft, avg-tft, convolve) on a folder as a lab keeps it: beside the
// recordings a README.txt, the table `plexo fft` left there, a file with a nan sample, a file
// without any header, an unreadable file and an unreadable subfolder. The results must be those
// of the recordings alone, for every thread count, with every other file named; --strict stops
// at the first of them and writes nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

namespace fs = std::filesystem;
using testing::Exists;
using testing::ReadBytes;
using testing::RunCommand;
using testing::TempDir;
using testing::WriteBytes;

const char* const kHits[] = {"hit_001.txt", "hit_002.txt", "hit_003.txt", "hit_004.txt"};

// Root reads every file whatever its mode: the program then runs as nobody, so that a mode of
// 000 stops it as it stops a user. Empty when that is not possible (a container that does not
// let root change its user): the unreadable file is then left out of the folder.
std::string OtherUserPrefix() {
  if (geteuid() != 0) return " ";
  const std::string prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  return RunCommand(prefix + "true").status == 0 ? prefix : "";
}

class CliMessyFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    prefix_ = OtherUserPrefix();
    fs::permissions(dir_.path(), fs::perms::all);  // nobody must reach the folders
    reference_ = MakeFolder("reference");
    messy_ = MakeFolder("messy");
    const std::string hit = ReadBytes(messy_ + "/hit_001.txt");
    WriteBytes(messy_ + "/README.txt", "Rig 2, sensor on the left flange.\n");
    // The sample on line 20 (the eleventh sample) is not a number.
    std::string nan_text = hit;
    size_t at = 0;
    for (int line = 0; line < 19; ++line) at = nan_text.find('\n', at) + 1;
    nan_text.replace(at, nan_text.find('\r', at) - at, "nan");
    WriteBytes(messy_ + "/hit_nan.txt", nan_text);
    std::string headerless;
    for (int i = 0; i < 512; ++i) headerless += i % 2 == 0 ? "0.25\n" : "-0.5\n";
    WriteBytes(messy_ + "/headerless.txt", headerless);
    const testing::PlexoResult fft = Run("fft '" + messy_ + "/hit_001.txt'", "");
    ASSERT_EQ(fft.status, 0) << fft.output;
    ASSERT_TRUE(Exists(messy_ + "/hit_001_fft.txt"));
    fs::create_directory(messy_ + "/old.txt");
    WriteBytes(messy_ + "/old.txt/hit_009.txt", hit);
    chmod((messy_ + "/old.txt").c_str(), 0);
    if (!prefix_.empty()) {
      WriteBytes(messy_ + "/locked.txt", hit);
      chmod((messy_ + "/locked.txt").c_str(), 0);
    }
    for (const std::string& folder : {reference_, messy_}) chmod(folder.c_str(), 0777);
  }
  void TearDown() override { chmod((messy_ + "/old.txt").c_str(), 0700); }

  std::string MakeFolder(const std::string& name) {
    const std::string folder = dir_.File(name);
    fs::create_directory(folder);
    for (const char* hit : kHits)
      fs::copy_file(std::string(PLEXO_EXAMPLES_DIR) + "/" + hit, folder + "/" + hit);
    for (const char* hit : kHits) chmod((folder + "/" + hit).c_str(), 0644);
    return folder;
  }
  testing::PlexoResult Run(const std::string& arguments, const std::string& prefix) const {
    return RunCommand(prefix + std::string(PLEXO_BINARY) + " " + arguments);
  }
  testing::PlexoResult Run(const std::string& arguments) const {
    return Run(arguments, prefix_.empty() ? "" : prefix_);
  }
  // Every file the run must name, each with its reason.
  std::vector<std::string> Named() const {
    std::vector<std::string> named = {
        messy_ + "/README.txt: no waveform samples",
        "Sample interval of 0.000000e+000 s in " + messy_ + "/headerless.txt is not allowed!",
        // The FFT table's lines hold three numbers: the reader refuses its first data line.
        "on line 10 of " + messy_ + "/hit_001_fft.txt is not a single number!",
        "\"nan\" on line 20 of " + messy_ + "/hit_nan.txt"};
    if (!prefix_.empty())
      named.push_back("Cannot read " + messy_ + "/locked.txt: Permission denied");
    return named;
  }
  int SkippedCount() const { return prefix_.empty() ? 4 : 5; }
  void ExpectNamed(const testing::PlexoResult& r) const {
    for (const std::string& text : Named())
      EXPECT_NE(r.output.find(text), std::string::npos) << text << "\n" << r.output;
    EXPECT_NE(r.output.find("(" + std::to_string(SkippedCount()) + " skipped, named above)"),
              std::string::npos)
        << r.output;
  }

  TempDir dir_;
  std::string prefix_;
  std::string reference_, messy_;
};

TEST_F(CliMessyFolder, AverageFftOfTheRecordingsAloneOnEveryJobCount) {
  ASSERT_EQ(Run("avg-fft '" + reference_ + "'").status, 0);
  const std::string expected = ReadBytes(reference_ + "/avgFFTData/average_FFT.txt");
  for (const char* jobs : {"1", "2", "3", "5"}) {
    SCOPED_TRACE(jobs);
    const testing::PlexoResult r = Run("avg-fft '" + messy_ + "' --jobs " + jobs);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Averaged 4 waveform files"), std::string::npos) << r.output;
    ExpectNamed(r);
    EXPECT_EQ(ReadBytes(messy_ + "/avgFFTData/average_FFT.txt"), expected);
  }
}

TEST_F(CliMessyFolder, AverageTftOfTheRecordingsAlone) {
  const std::string options =
      " --method cwt --time-start 0 --time-end 4e-4 --freq-start 0 "
      "--freq-end 1e6 --freq-res 1e5 ";
  testing::PlexoResult r = Run("avg-tft '" + reference_ + "'" + options);
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string expected = ReadBytes(reference_ + "/avgWTData/average_signal.txt");
  const std::string expected_wt = ReadBytes(reference_ + "/avgWTData/average_signal_wt.txt");
  for (const char* jobs : {"1", "3"}) {
    SCOPED_TRACE(jobs);
    r = Run("avg-tft '" + messy_ + "'" + options + "--jobs " + jobs);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Averaged 4 waveform files"), std::string::npos) << r.output;
    ExpectNamed(r);
    EXPECT_EQ(ReadBytes(messy_ + "/avgWTData/average_signal.txt"), expected);
    EXPECT_EQ(ReadBytes(messy_ + "/avgWTData/average_signal_wt.txt"), expected_wt);
  }
}

TEST_F(CliMessyFolder, ConvolutionOfTheRecordingsAloneEachWithItsOwnHeader) {
  std::string transfer = "flat\n";
  for (int i = 0; i < 4096; ++i) transfer += "0.5\t0.25\n";
  const std::string tf = dir_.File("flat.tf");
  WriteBytes(tf, transfer);
  chmod(tf.c_str(), 0644);
  const std::string options = " --transfer '" + tf + "' --precision 12 --output single";
  ASSERT_EQ(Run("convolve '" + reference_ + "'" + options).status, 0);
  const testing::PlexoResult r = Run("convolve '" + messy_ + "'" + options);
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("Wrote 4 waveform files"), std::string::npos) << r.output;
  ExpectNamed(r);
  for (const char* hit : kHits) {
    EXPECT_EQ(ReadBytes(messy_ + "/procData/" + hit), ReadBytes(reference_ + "/procData/" + hit))
        << hit;
  }
  EXPECT_FALSE(Exists(messy_ + "/procData/headerless.txt"));
  EXPECT_FALSE(Exists(messy_ + "/procData/hit_001_fft.txt"));
}

TEST_F(CliMessyFolder, StrictStopsAtTheFirstSuchFileAndWritesNothing) {
  std::string transfer = "flat\n";
  for (int i = 0; i < 4096; ++i) transfer += "1\t0\n";
  const std::string tf = dir_.File("flat.tf");
  WriteBytes(tf, transfer);
  chmod(tf.c_str(), 0644);
  // The first in name order: README.txt sorts before the lower-case names.
  const std::string first = messy_ + "/README.txt: no waveform samples";
  for (const std::string& command :
       {"avg-fft '" + messy_ + "' --strict --jobs 3",
        "avg-tft '" + messy_ + "' --strict --method cwt --freq-res 1e5",
        "convolve '" + messy_ + "' --strict --precision 12 --transfer '" + tf + "'"}) {
    SCOPED_TRACE(command);
    const testing::PlexoResult r = Run(command);
    EXPECT_NE(r.status, 0) << r.output;
    EXPECT_NE(r.output.find(first), std::string::npos) << r.output;
  }
  EXPECT_FALSE(Exists(messy_ + "/avgFFTData/average_FFT.txt"));
  EXPECT_FALSE(Exists(messy_ + "/avgWTData/average_signal.txt"));
  EXPECT_FALSE(Exists(messy_ + "/procData/hit_001.txt"));
}

// Folders the user may enter but not list, or list but not write into: refused with the folder
// and the system's reason, a failure status, nothing written.
TEST_F(CliMessyFolder, FoldersThatCannotBeListedOrWrittenAreRefusedWithTheReason) {
  if (prefix_.empty()) GTEST_SKIP() << "root that cannot run as another user reads every folder";
  std::string transfer = "flat\n";
  for (int i = 0; i < 4096; ++i) transfer += "1\t0\n";
  const std::string tf = dir_.File("flat.tf");
  WriteBytes(tf, transfer);
  chmod(tf.c_str(), 0644);
  struct Case {
    const char* command;
    const char* result_folder;
  };
  for (const Case& c : {Case{"avg-fft", "avgFFTData"}, Case{"avg-tft", "avgWTData"},
                        Case{"convolve", "procData"}}) {
    SCOPED_TRACE(c.command);
    std::string options = std::string(c.command) == "convolve"
                              ? " --precision 12 --transfer '" + tf + "'"
                              : (std::string(c.command) == "avg-tft" ? " --freq-res 1e5" : "");
    chmod(reference_.c_str(), 0311);  // entered, not listed
    testing::PlexoResult r = Run(std::string(c.command) + " '" + reference_ + "'" + options);
    chmod(reference_.c_str(), 0777);
    EXPECT_NE(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Folder " + reference_ + " cannot be listed: Permission denied!"),
              std::string::npos)
        << r.output;
    EXPECT_FALSE(Exists(reference_ + "/" + c.result_folder));

    chmod(reference_.c_str(), 0555);  // listed, not written
    r = Run(std::string(c.command) + " '" + reference_ + "'" + options);
    chmod(reference_.c_str(), 0777);
    EXPECT_NE(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Folder " + reference_ + "/" + c.result_folder +
                            " cannot be created: Permission denied!"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(r.output.find("No such file or directory"), std::string::npos) << r.output;
  }
}

// Convolution writes each input's own header: a file without a "TIME OF TEST" line after one
// with it gets 0, and a file without a sample interval is named and skipped, never written with
// the interval of the file before.
TEST_F(CliMessyFolder, ConvolutionKeepsEveryInputsOwnHeader) {
  const std::string folder = dir_.File("headers");
  fs::create_directory(folder);
  chmod(folder.c_str(), 0777);
  const std::string hit = ReadBytes(std::string(PLEXO_EXAMPLES_DIR) + "/hit_001.txt");
  const auto without = [&](const std::string& key) {
    std::string text = hit;
    const size_t at = text.find(key);
    text.erase(at, text.find('\n', at) + 1 - at);
    return text;
  };
  WriteBytes(folder + "/a.txt", hit);
  WriteBytes(folder + "/b.txt", without("TIME OF TEST"));
  WriteBytes(folder + "/c.txt", hit);
  WriteBytes(folder + "/d.txt", without("SAMPLE INTERVAL"));
  std::string transfer = "flat\n";
  for (int i = 0; i < 4096; ++i) transfer += "1\t0\n";
  const std::string tf = dir_.File("flat.tf");
  WriteBytes(tf, transfer);
  for (const char* output : {"single", "columns"}) {
    SCOPED_TRACE(output);
    const testing::PlexoResult r =
        Run("convolve '" + folder + "' --precision 12 --transfer '" + tf + "' --output " + output);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Sample interval of 0.000000e+000 s in " + folder + "/d.txt"),
              std::string::npos)
        << r.output;
  }
  const std::string b = ReadBytes(folder + "/procData/b.txt");
  EXPECT_NE(b.find("TIME OF TEST:\t0.000000e+000\r\n"), std::string::npos) << b.substr(0, 300);
  EXPECT_NE(b.find("SAMPLE INTERVAL (Seconds):   1.000000e-007\r\n"), std::string::npos);
  EXPECT_NE(ReadBytes(folder + "/procData/c.txt").find("TIME OF TEST:\t1.201532e+001\r\n"),
            std::string::npos);
  EXPECT_FALSE(Exists(folder + "/procData/d.txt"));
}

// An inconsistent grid keeps the fixed refusal and names the value that makes it so.
TEST(CliAvgTftGrid, RefusalNamesTheParameter) {
  TempDir dir;
  const testing::PlexoResult r = RunCommand(std::string(PLEXO_BINARY) + " avg-tft '" + dir.path() +
                                            "' --time-start 2e-4 --time-end 1e-4");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(
      r.output.find("Non-valid input parameters! Please check consistence!\nplexo: time end = "
                    "1.000000e-004 s: must not be before time start (2.000000e-004 s)."),
      std::string::npos)
      << r.output;
}

}  // namespace
}  // namespace plexo
