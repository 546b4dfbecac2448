// Named pipes (and folders) given where a file is read: every reader refuses them at once
// instead of waiting for a writer that never comes. A watchdog opens the pipe for writing after
// a while, so that a reader that did block is set free and the test fails instead of hanging.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "ascii_ops/column_table.h"
#include "ascii_ops/location_conversion.h"
#include "import/waveform_import.h"
#include "platform/file_system.h"
#include "signal/setup_file.h"
#include "signal/waveform_file.h"
#include "spectral/fft_file.h"
#include "spectral/transfer_function.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"
#include "timefreq/tft_file_reader.h"
#include "viewers/file_kind.h"

namespace plexo {
namespace {

using testing::TempDir;

// Opens `fifo` for writing (and closes it again) when not dismissed within the time, which
// ends a reader blocked in open or read on it.
class FifoWatchdog {
 public:
  explicit FifoWatchdog(const std::string& fifo) {
    thread_ = std::thread([this, fifo] {
      std::unique_lock<std::mutex> lock(mutex_);
      if (done_cv_.wait_for(lock, std::chrono::seconds(10), [this] { return done_; })) return;
      fired_ = true;
      for (int tries = 0; tries < 100; ++tries) {
        const int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
          close(fd);
          return;
        }
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        lock.lock();
      }
    });
  }
  // True when the reader had to be set free.
  bool Dismiss() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    done_cv_.notify_all();
    thread_.join();
    return fired_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_cv_;
  bool done_ = false;
  std::atomic<bool> fired_{false};
  std::thread thread_;
};

struct ReaderCase {
  const char* name;
  // Reads `path`; true when the reader refused it (its failure result).
  std::function<bool(const std::string& path)> refuses;
};

class FifoInput : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(FifoInput, RefusedWithoutBlockingAsAFolderIs) {
  TempDir dir;
  const std::string fifo = dir.File("pipe.txt");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  FifoWatchdog watchdog(fifo);
  const bool refused_fifo = GetParam().refuses(fifo);
  EXPECT_FALSE(watchdog.Dismiss()) << "the reader blocked on a named pipe";
  EXPECT_TRUE(refused_fifo);
  EXPECT_TRUE(GetParam().refuses(dir.path()));
}

INSTANTIATE_TEST_SUITE_P(
    Readers, FifoInput,
    ::testing::Values(
        ReaderCase{"Waveform",
                   [](const std::string& p) {
                     Waveform wf;
                     return ReadWaveform(p, wf) == -1;
                   }},
        ReaderCase{"WaveformBasic",
                   [](const std::string& p) {
                     std::vector<double> samples;
                     double dt = 0, tot = 0;
                     int channel = 0;
                     return ReadWaveformBasic(p, samples, dt, tot, channel) == -1;
                   }},
        ReaderCase{"SetupFile",
                   [](const std::string& p) {
                     CalcSettings settings;
                     std::string a, b, c;
                     return !LoadSetup(settings, a, b, c, p);
                   }},
        ReaderCase{"TransferFunction",
                   [](const std::string& p) {
                     std::vector<Complex> transfer;
                     return ReadTransferFunction(p, transfer) == -1;
                   }},
        ReaderCase{"ColumnTable",
                   [](const std::string& p) {
                     ColumnTable table;
                     return ReadColumnTable(p, table) == -1;
                   }},
        ReaderCase{"LocationListing",
                   [](const std::string& p) {
                     std::vector<std::string> lines;
                     return !ReadTextLines(p, lines);
                   }},
        ReaderCase{"FftFile",
                   [](const std::string& p) {
                     auto content = std::make_unique<FftFileContent>();
                     return ReadFFTFile(p, *content) == -1;
                   }},
        ReaderCase{"TftFile",
                   [](const std::string& p) {
                     auto content = std::make_unique<TftFileContent>();
                     return ReadTftFile(p, *content) == -1;
                   }},
        ReaderCase{"ViewerKind", [](const std::string& p) { return !DetectViewerKind(p); }},
        ReaderCase{
            "ExportKind",
            [](const std::string& p) { return RecogniseExportFile(p) == ExportKind::kUnknown; }},
        ReaderCase{"WhyNotReadable",
                   [](const std::string& p) { return WhyNotReadable(p) == "not a regular file"; }},
        ReaderCase{"OpenRegularFile",
                   [](const std::string& p) {
                     std::string why;
                     return OpenRegularFile(p, &why) == -1 && why == "not a regular file";
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FifoInput, OpenRegularFileNamesTheReasonAndOpensAFile) {
  TempDir dir;
  std::string why;
  EXPECT_EQ(OpenRegularFile(dir.File("missing.txt"), &why), -1);
  EXPECT_EQ(why, "No such file or directory");
  testing::WriteBytes(dir.File("a.txt"), "x");
  const int fd = OpenRegularFile(dir.File("a.txt"), &why);
  ASSERT_GE(fd, 0);
  char c = 0;
  EXPECT_EQ(read(fd, &c, 1), 1);
  EXPECT_EQ(c, 'x');
  close(fd);
}

// The program itself, with a named pipe for each kind of file a command reads. `timeout` kills
// a run that hangs; its status then is not the refusal expected.
struct CommandCase {
  const char* name;
  std::string arguments;  // FIFO stands for the pipe, DIR for the test folder
  int status;             // the exit status expected
};

class FifoCommand : public ::testing::TestWithParam<CommandCase> {};

std::string Substitute(std::string text, const std::string& key, const std::string& value) {
  for (size_t at; (at = text.find(key)) != std::string::npos;) text.replace(at, key.size(), value);
  return text;
}

TEST_P(FifoCommand, EndsWithoutWaitingForAWriter) {
  TempDir dir;
  const std::string fifo = dir.File("pipe.txt");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::copy_file(std::string(PLEXO_EXAMPLES_DIR) + "/hit_001.txt", dir.File("hit.txt"));
  std::string arguments = Substitute(GetParam().arguments, "FIFO", "'" + fifo + "'");
  arguments = Substitute(arguments, "DIR", "'" + dir.path() + "'");
  const std::string command =
      "timeout -k 2 20 " + std::string(PLEXO_BINARY) + " " + arguments + " 2>&1 </dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof(buffer), pipe)) > 0;) output.append(buffer, n);
  const int status = pclose(pipe);
  ASSERT_TRUE(WIFEXITED(status)) << output;
  EXPECT_NE(WEXITSTATUS(status), 124) << "hung on the named pipe\n" << output;
  EXPECT_EQ(WEXITSTATUS(status), GetParam().status) << output;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FifoCommand,
    ::testing::Values(CommandCase{"Fft", "fft FIFO", 1},
                      CommandCase{"SetupOption", "--setup FIFO fft DIR/hit.txt", 1},
                      CommandCase{"TransferFunction", "convolve DIR --transfer FIFO --precision 10",
                                  1},
                      CommandCase{"View", "view FIFO", 1},
                      CommandCase{"Locations", "locations aewin FIFO", 1},
                      CommandCase{"Import", "import FIFO --to DIR/imported --dt 1e-7", 1},
                      // In a folder the pipe is no waveform file: the other file is averaged alone.
                      CommandCase{"FolderOfAverageFft", "avg-fft DIR", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FifoCommand, APipeNamedSetupIniBesideTheProgramIsPassedOver) {
  TempDir dir;
  const std::string program = dir.File("plexo");
  std::filesystem::copy_file(PLEXO_BINARY, program);
  ASSERT_EQ(mkfifo(dir.File("Setup.ini").c_str(), 0600), 0);
  const std::string input = dir.File("hit.txt");
  std::filesystem::copy_file(std::string(PLEXO_EXAMPLES_DIR) + "/hit_001.txt", input);
  const std::string command =
      "timeout -k 2 20 '" + program + "' fft '" + input + "' >/dev/null 2>&1 </dev/null";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(testing::Exists(dir.File("hit_fft.txt")));
}

}  // namespace
}  // namespace plexo
