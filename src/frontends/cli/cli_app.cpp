#include "frontends/cli/cli_app.h"

#include <iostream>
#include <streambuf>

#include "frontends/cli/message_prefix.h"
#include "frontends/cli/progress_bar.h"
#include "frontends/cli/usage_errors.h"
#include "platform/file_system.h"
#include "platform/image_window.h"
#include "platform/setup_location.h"
#include "plexo_version.h"

namespace plexo::cli {
namespace {

// The commands that write preview images, and the images --no-preview leaves out.
struct PreviewFiles {
  const char* command;
  const char* files;
};
constexpr PreviewFiles kPreviewFiles[] = {
    {"fft", "<name>_fft_preview.bmp"},
    {"tft", "<name>_wt_preview.bmp or <name>_spvwd_preview.bmp"},
    {"avg-fft", "DIR/avgFFTData/average_FFT_preview.bmp"},
    {"avg-tft", "DIR/avgWTData/average_signal_wt_preview.bmp or ..._spvwd_preview.bmp"},
};

// What --quiet leaves of standard output: nothing.
class DiscardingBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

// Standard output muted and the progress bars off for the life of a quiet run.
class QuietRun {
 public:
  explicit QuietRun(bool quiet) : quiet_(quiet) {
    if (!quiet_) return;
    std::cout.flush();
    previous_ = std::cout.rdbuf(&discard_);
    ShowProgressBars(false);
  }
  ~QuietRun() {
    if (!quiet_) return;
    std::cout.rdbuf(previous_);
    ShowProgressBars(true);
  }
  QuietRun(const QuietRun&) = delete;
  QuietRun& operator=(const QuietRun&) = delete;

 private:
  bool quiet_;
  DiscardingBuffer discard_;
  std::streambuf* previous_ = nullptr;
};

// The options every command has, beside its own.
void AddSharedOptions(CLI::App& command, CommonOptions& common) {
  command.add_flag("-q,--quiet", common.quiet,
                   "No progress bar and no \"Wrote\" or summary lines; messages about what\n"
                   "went wrong are still shown on standard error");
  command.set_version_flag("--version", std::string("plexo ") + PLEXO_VERSION,
                           "Print the version and exit");
}

// The images the command writes, or null.
const char* PreviewFilesOf(const CLI::App& command) {
  for (const PreviewFiles& previews : kPreviewFiles) {
    if (command.get_name() == previews.command) return previews.files;
  }
  return nullptr;
}

// A setup file named with --setup that cannot be read is a file error; one that can be read
// but holds no settings (or a value out of range) is refused.
int SetupFileStatus(const CommonOptions& common) {
  const std::string why = common.setup_file.empty() ? "" : WhyNotReadable(common.setup_file);
  return ExitStatus(why.empty() || why == "not a regular file" ? ExitCode::kRefused
                                                               : ExitCode::kFileError);
}

}  // namespace

int RunCommandLine(int argc, char** argv, const std::function<int(int, char**)>& start_desktop) {
  const MessagePrefix prefix;
  CLI::App app{
      "PLEXO++: acoustic-emission waveform analysis.\n"
      "Waveform files are ASCII: nine header lines (sample interval, channel, time of test, ...)\n"
      "then one sample per line. Results are written beside the input file, or into a subfolder\n"
      "of the input folder for folder calculations.\n"
      "Without a command the desktop opens (when a display is available).",
      "plexo"};
  app.require_subcommand(0, 1);
  app.set_version_flag("--version", std::string("plexo ") + PLEXO_VERSION,
                       "Print the version and exit");
  CommonOptions common;
  // A root option is accepted before the command name; fallthrough (inherited by the commands
  // added below) also passes it on when it follows the command's own arguments.
  app.add_option("--setup", common.setup_file,
                 "Setup file (.ini) to take the calculation settings from instead of\n"
                 "Setup.ini; only read, never written. Before or after the command.")
      ->type_name("FILE")
      ->configurable(false);
  app.add_flag("-q,--quiet", common.quiet,
               "No progress bar and nothing on standard output (before or after the command)");
  app.fallthrough();
  const auto setup_footer = [&common]() {
    return SetupFileHelpLine(common.setup_file, SetupIniPath());
  };
  app.footer([&]() { return ExitStatusHelp() + "\n\n" + setup_footer(); });

  std::vector<Command> commands;
  // The commands that draw previews: --show opens them.
  for (Command command :
       {AddFftCommand(app, common), AddTftCommand(app, common), AddAvgFftCommand(app, common),
        AddAvgTftCommand(app, common), AddViewCommand(app, common)}) {
    command.app->add_flag("--show", common.show,
                          "Show each preview in a window and wait for a key there");
    commands.push_back(command);
  }
  commands.push_back(AddConvolveCommand(app, common));
  commands.push_back(AddDeconvolveCommand(app, common));
  commands.push_back(AddAsciiCommand(app, common));
  commands.push_back(AddLocationsCommand(app, common));
  commands.push_back(AddFeaturesCommand(app, common));
  commands.push_back(AddOnsetsCommand(app, common));
  for (auto& command : commands) command.app->footer(setup_footer);
  commands.push_back(AddImportCommand(app, common));  // reads no setup file
  for (auto& command : commands) {
    AddSharedOptions(*command.app, common);
    if (const char* previews = PreviewFilesOf(*command.app)) {
      command.app->add_flag("--no-preview", common.no_preview,
                            std::string("Write the result tables only, not the preview image\n(") +
                                previews + "); --show still shows it");
    }
  }

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return ReportParseError(app, e);
  }

  const QuietRun quiet(common.quiet);
  for (auto& command : commands) {
    if (!command.app->parsed()) continue;
    // Nothing is computed for previews that cannot be shown (plexo-desktop registers its window
    // before it runs a command with --show; without a usable display nobody does).
    if (common.show && !ImageViewerAvailable()) {
      std::cerr << "--show needs a display (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM) "
                   "that can be reached: no window can be shown, nothing was computed."
                << std::endl;
      return ExitStatus(ExitCode::kRefused);
    }
    std::string error;
    if (!LoadSettingsForCommand(common, common.settings, error)) {
      std::cerr << error << std::endl;
      return SetupFileStatus(common);
    }
    return command.run();
  }
  if (start_desktop) return start_desktop(argc, argv);
  std::cout << app.help() << std::flush;
  std::cerr << "No command given, and no desktop can be opened without a display." << std::endl;
  return ExitStatus(ExitCode::kUsage);
}

}  // namespace plexo::cli
