// The conventions every command of the real plexo program keeps, run as a user runs it: the
// exit status of each outcome, "plexo: " before every line of standard error, one message for a
// path that cannot be used, -q, --no-preview, the --no-X flags, the progress bar (none when
// redirected, redrawn in place on a terminal) and the nearest option for a mistyped one.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// A folder as the table's rows need it: {w} holds three waveforms, {d} the other inputs.
class Workspace {
 public:
  Workspace() {
    fs::create_directory(Waves());
    for (const char* name : {"hit_001.txt", "hit_002.txt", "hit_003.txt"})
      fs::copy_file(std::string(PLEXO_EXAMPLES_DIR) + "/" + name, Waves() + "/" + name);
    std::string transfer = "flat\n";
    for (int i = 0; i < 4096; ++i) transfer += "1\t0\n";
    WriteBytes(dir_ / "flat.tf", transfer);
    WriteBytes(dir_ / "wave.dat", "1\n2\n");
    WriteBytes(dir_ / "run.listing",
               "LE   1       00:00:01.500000  1 2 3\r\nLE   2       00:00:02.000000  4 5\r\n");
    WriteBytes(dir_ / "flat.listing", "Gp#1 y=1 d\r\n");
  }
  std::string Waves() const { return dir_ / "waves"; }
  const std::string& path() const { return dir_.path(); }

  // {w} and {d} replaced by the folders.
  std::string Expand(std::string text) const {
    for (size_t at; (at = text.find("{w}")) != std::string::npos;) text.replace(at, 3, Waves());
    for (size_t at; (at = text.find("{d}")) != std::string::npos;) text.replace(at, 3, dir_.path());
    return text;
  }

  // Runs plexo without a display, standard output and standard error kept apart.
  Outcome Run(const std::string& arguments) const {
    const std::string out = logs_ / "out";
    const std::string err = logs_ / "err";
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                                std::string(PLEXO_BINARY) + "' " + Expand(arguments) + " >'" + out +
                                "' 2>'" + err + "' </dev/null";
    const int raw = std::system(command.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = ReadBytes(out);
    outcome.err = ReadBytes(err);
    return outcome;
  }

  // Every file under the folder, relative to it, with its bytes.
  std::vector<std::pair<std::string, std::string>> Files() const {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir_.path())) {
      if (entry.is_regular_file())
        files.emplace_back(fs::relative(entry.path(), dir_.path()).string(),
                           ReadBytes(entry.path().string()));
    }
    std::sort(files.begin(), files.end());
    return files;
  }

 private:
  TempDir dir_;
  TempDir logs_;
};

// The lines of standard error that do not start with the program's name.
std::vector<std::string> UnprefixedLines(const std::string& err) {
  std::vector<std::string> lines;
  std::istringstream in(err);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.rfind("plexo: ", 0) != 0) lines.push_back(line);
  }
  return lines;
}

struct Row {
  std::string name;
  std::string arguments;
  int status;
  std::string err_is;   // the whole of standard error, when given
  std::string err_has;  // part of standard error (or of standard output for status 0)
};

// The commands, each with arguments that make it do its job.
struct CommandUse {
  const char* name;     // for the test names
  const char* command;  // what is typed, the operator of ascii and locations included
  const char* done;
};
const CommandUse kCommands[] = {
    {"Fft", "fft", "{w}/hit_001.txt"},
    {"Tft", "tft", "{w}/hit_001.txt"},
    {"AvgFft", "avg-fft", "{w}"},
    {"AvgTft", "avg-tft", "{w} --freq-res 1e5"},
    {"Convolve", "convolve", "{w} --transfer {d}/flat.tf --precision 12"},
    {"Deconvolve", "deconvolve", "{w} --transfer {d}/flat.tf --precision 12"},
    {"Features", "features", "{w}"},
    {"View", "view", "{w}/hit_001.txt --out {d}/chart.png"},
    {"Import", "import", "{w}/hit_001.txt --to {d}/imported"},
    {"Ascii", "ascii columns", "{w}"},
    {"Locations", "locations visualae", "{d}/run.listing"},
};

std::string FileForFolder() {
  return "plexo: {w}/hit_001.txt is a file, not a folder: give the folder that holds the "
         "waveform files\n";
}
std::string Missing(const std::string& path) {
  return "plexo: " + path + ": No such file or directory\n";
}

std::vector<Row> Rows() {
  std::vector<Row> rows;
  for (const CommandUse& c : kCommands) {
    const std::string name = c.name;
    rows.push_back({name + "Done", std::string(c.command) + " " + c.done, 0, "", ""});
    rows.push_back({name + "UnknownOption",
                    std::string(c.command) + " " + c.done + " --no-such-option", 64, "",
                    "plexo: unknown option --no-such-option\n"});
    rows.push_back({name + "Help", std::string(c.command) + " --help", 0, "", "Usage: plexo"});
    rows.push_back({name + "Version", std::string(c.command) + " --version", 0, "", "plexo "});
  }
  const std::string tf = " --transfer {d}/flat.tf --precision 12";
  const std::vector<Row> more = {
      // Refused input.
      {"FftWrongExtension", "fft {d}/wave.dat", 1, "", "Filetype has the wrong format!"},
      {"TftInvertedWindow", "tft {w}/hit_001.txt --time-start 2e-4 --time-end 1e-4", 1, "",
       "Non-valid input parameters!"},
      {"AvgFftFileForFolder", "avg-fft {w}/hit_001.txt", 1, FileForFolder(), ""},
      {"AvgTftFileForFolder", "avg-tft {w}/hit_001.txt", 1, FileForFolder(), ""},
      {"ConvolveFileForFolder", "convolve {w}/hit_001.txt" + tf, 1, FileForFolder(), ""},
      {"DeconvolveFileForFolder", "deconvolve {w}/hit_001.txt" + tf, 1, FileForFolder(), ""},
      {"FeaturesFileForFolder", "features {w}/hit_001.txt", 1, FileForFolder(), ""},
      {"AsciiFileForFolder", "ascii columns {w}/hit_001.txt", 1, FileForFolder(), ""},
      {"ViewFolderForFile", "view {w}", 1, "plexo: {w} is a folder, not a file\n", ""},
      {"ViewNoChart", "view {d}/wave.dat", 1, "", "is not a waveform, FFT or TFT file"},
      {"ImportUnknownExport", "import {d}/flat.listing --to {d}/imported", 1, "", "refused"},
      {"LocationsFlat", "locations aewin {d}/flat.listing", 1, "", "two-dimensional"},
      // An input that cannot be read: one message, naming it.
      {"FftMissing", "fft {d}/missing.txt", 2, Missing("{d}/missing.txt"), ""},
      {"TftMissing", "tft {d}/missing.txt", 2, Missing("{d}/missing.txt"), ""},
      {"AvgFftMissing", "avg-fft {d}/missing", 2, Missing("{d}/missing"), ""},
      {"AvgTftMissing", "avg-tft {d}/missing", 2, Missing("{d}/missing"), ""},
      {"ConvolveMissing", "convolve {d}/missing" + tf, 2, Missing("{d}/missing"), ""},
      {"ConvolveMissingTransfer", "convolve {w} --transfer {d}/none.tf", 2, Missing("{d}/none.tf"),
       ""},
      {"DeconvolveMissing", "deconvolve {d}/missing" + tf, 2, Missing("{d}/missing"), ""},
      {"FeaturesMissing", "features {d}/missing", 2, Missing("{d}/missing"), ""},
      {"ViewMissing", "view {d}/missing.txt", 2, Missing("{d}/missing.txt"), ""},
      {"ImportMissing", "import {d}/missing.txt --to {d}/imported", 2, Missing("{d}/missing.txt"),
       ""},
      {"AsciiMissing", "ascii columns {d}/missing", 2, Missing("{d}/missing"), ""},
      {"LocationsMissing", "locations visualae {d}/missing.txt", 2, Missing("{d}/missing.txt"), ""},
      {"SetupMissing", "fft {w}/hit_001.txt --setup {d}/none.ini", 2, "", "none.ini"},
      // The command line itself.
      {"NoFile", "fft", 64, "", "FILE is required"},
      {"NotANumber", "tft {w}/hit_001.txt --time-start 5x", 64, "", "--time-start: Value 5x"},
      {"UnknownOperator", "ascii sort {w}", 64, "", "sort"},
      {"UnknownCommand", "ffft {w}/hit_001.txt", 64, "",
       "plexo: unknown command ffft; did you mean fft?\n"},
      {"Mistyped", "tft {w}/hit_001.txt --time-strat 1", 64, "",
       "plexo: unknown option --time-strat; did you mean --time-start?\n"},
      {"MistypedWithValue", "fft {w}/hit_001.txt --jbos=2", 64, "",
       "plexo: unknown option --jbos; did you mean --jobs?\n"},
      {"MistypedFlag", "features {w} --with-file-name", 64, "", "did you mean --with-file-names?"},
      {"ShowWithoutDisplay", "view {w}/hit_001.txt --show", 1, "", "--show needs a display"},
      {"RootHelp", "--help", 0, "", "Exit status:"},
  };
  rows.insert(rows.end(), more.begin(), more.end());
  return rows;
}

class EveryCommand : public ::testing::TestWithParam<Row> {};

TEST_P(EveryCommand, ExitsWithTheStatusOfItsOutcomeAndPrefixesItsMessages) {
  const Row& row = GetParam();
  const Workspace ws;
  const Outcome run = ws.Run(row.arguments);
  const std::string both = run.out + run.err;
  EXPECT_EQ(run.status, row.status) << both;
  EXPECT_EQ(UnprefixedLines(run.err), std::vector<std::string>{}) << run.err;
  EXPECT_EQ(run.err.find('\r'), std::string::npos) << "a progress bar in a redirected stream";
  if (!row.err_is.empty()) {
    EXPECT_EQ(run.err, ws.Expand(row.err_is));
  }
  if (!row.err_has.empty()) {
    EXPECT_NE(both.find(ws.Expand(row.err_has)), std::string::npos) << both;
  }
  if (row.status != 0 || row.arguments.find("--") == 0) return;
  if (row.name.find("Done") == std::string::npos) {
    EXPECT_EQ(run.err, "");  // help and version
    return;
  }
  EXPECT_NE(run.out, "");  // what was written
  // -q: the same results, and nothing on either stream.
  const Workspace quiet_ws;
  const Outcome quiet = quiet_ws.Run(row.arguments + " -q");
  EXPECT_EQ(quiet.status, 0) << quiet.err;
  EXPECT_EQ(quiet.out, "");
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(quiet_ws.Files().size(), ws.Files().size());
}

INSTANTIATE_TEST_SUITE_P(Rows, EveryCommand, ::testing::ValuesIn(Rows()),
                         [](const auto& info) { return info.param.name; });

TEST(ExitStatusHelp, ListsEveryStatusTheCommandsUse) {
  const Outcome run = Workspace().Run("--help");
  for (const char* line : {"\n  0   done", "\n  1   ", "\n  2   ", "\n  3   ", "\n  64  usage"})
    EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
}

struct PreviewCase {
  const char* name;
  const char* arguments;
};

class NoPreview : public ::testing::TestWithParam<PreviewCase> {};

// Without the images, the tables are the same bytes and nothing else is missing.
TEST_P(NoPreview, WritesTheSameTablesAndNoImage) {
  const Workspace with, without;
  ASSERT_EQ(with.Run(GetParam().arguments).status, 0);
  const Outcome run = without.Run(std::string(GetParam().arguments) + " --no-preview");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.find("_preview.bmp"), std::string::npos) << run.out;
  auto expected = with.Files();
  size_t previews = 0;
  for (auto it = expected.begin(); it != expected.end();) {
    const bool preview =
        it->first.size() > 12 && it->first.compare(it->first.size() - 12, 12, "_preview.bmp") == 0;
    previews += preview ? 1 : 0;
    it = preview ? expected.erase(it) : it + 1;
  }
  EXPECT_EQ(previews, 1u);
  EXPECT_EQ(without.Files(), expected);
}

INSTANTIATE_TEST_SUITE_P(PreviewCommands, NoPreview,
                         ::testing::Values(PreviewCase{"Fft", "fft {w}/hit_001.txt"},
                                           PreviewCase{"Tft", "tft {w}/hit_001.txt --method spwvd"},
                                           PreviewCase{"AvgFft", "avg-fft {w}"},
                                           PreviewCase{"AvgTft", "avg-tft {w} --freq-res 1e5"}),
                         [](const auto& info) { return std::string(info.param.name); });

// --no-X turns off what --X turns on, as --X=0 does, whatever the order.
TEST(NegatedFlags, TurnTheFlagOff) {
  const auto table = [](const std::string& flags) {
    const Workspace ws;
    const Outcome run = ws.Run("tft {w}/hit_001.txt --method spwvd " + flags);
    EXPECT_EQ(run.status, 0) << flags << ": " << run.err;
    return ReadBytes(ws.Waves() + "/hit_001_spvwd.txt");
  };
  const std::string complex = table("--complex");
  const std::string moduli = table("--complex=0");
  EXPECT_NE(complex, moduli);
  EXPECT_EQ(table("--no-complex"), moduli);
  EXPECT_EQ(table("--complex --no-complex"), moduli);
  EXPECT_EQ(table("--no-complex --complex"), complex);
}

// Runs plexo on a pseudo-terminal (standard output and error both) and returns what it drew.
std::string RunOnTerminal(const std::string& arguments, int& status) {
  int terminal = -1;
  const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (child == 0) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    execl("/bin/sh", "sh", "-c", (std::string("exec '") + PLEXO_BINARY + "' " + arguments).c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  std::string output;
  if (child < 0) return output;
  char buffer[4096];
  for (;;) {
    pollfd poll_fd{terminal, POLLIN, 0};
    if (poll(&poll_fd, 1, 30000) <= 0) break;
    const ssize_t n = read(terminal, buffer, sizeof buffer);
    if (n <= 0) break;  // EIO once the program has ended
    output.append(buffer, static_cast<size_t>(n));
  }
  close(terminal);
  int raw = 0;
  waitpid(child, &raw, 0);
  status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return output;
}

TEST(ProgressBar, IsRedrawnInPlaceOnATerminal) {
  const Workspace ws;
  int status = -1;
  const std::string drawn = RunOnTerminal(ws.Expand("avg-fft {w} -j 1"), status);
  EXPECT_EQ(status, 0) << drawn;
  const size_t first = drawn.find('\r');
  const size_t last = drawn.rfind("3/3");
  ASSERT_NE(first, std::string::npos) << drawn;
  ASSERT_NE(last, std::string::npos) << drawn;
  ASSERT_LT(first, last);
  const std::string bar = drawn.substr(first, last - first);
  // The terminal turns each "\n" into "\r\n": a line end between updates would show as one.
  EXPECT_EQ(bar.find('\n'), std::string::npos) << bar;
  EXPECT_GE(std::count(bar.begin(), bar.end(), '\r'), 3) << bar;
  EXPECT_NE(drawn.find("Averaged 3 waveform files", last), std::string::npos) << drawn;

  const std::string quiet = RunOnTerminal(ws.Expand("avg-fft {w} -q"), status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(quiet, "");
}

}  // namespace
}  // namespace plexo
