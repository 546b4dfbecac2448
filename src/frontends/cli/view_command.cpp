// plexo view FILE: a waveform, FFT or TFT file drawn as the desktop's viewers draw it, saved as
// an image (--out) and/or shown in a window (--show).
#include <sys/stat.h>

#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "frontends/cli/cli_app.h"
#include "frontends/cli/input_paths.h"
#include "import/export_kind.h"
#include "import/export_text.h"
#include "platform/file_system.h"
#include "platform/headless_host.h"
#include "plot/image_file.h"
#include "viewers/file_kind.h"
#include "viewers/file_viewers.h"

namespace plexo::cli {
namespace {

struct ViewOptions {
  std::string file;
  std::string kind;  // empty: told from the file
  std::string out;   // empty: not saved
  const CLI::Option* outGiven = nullptr;
};

enum class ImageFormat { kNone, kPng, kBmp };

ImageFormat FormatOf(const std::string& out) {
  const std::string extension = LowerCaseExtension(out);
  if (extension == ".png") return ImageFormat::kPng;
  if (extension == ".bmp") return ImageFormat::kBmp;
  return ImageFormat::kNone;
}

std::string Summary(ViewerKind kind, const FileChart& chart, const ViewerWorkspace& workspace) {
  switch (kind) {
    case ViewerKind::kWaveform:
      return "waveform file, " + std::to_string(chart.readResult) + " samples";
    case ViewerKind::kFft:
      return std::string(workspace.fft.kind == kAverageFftFile ? "average " : "") + "FFT file, " +
             std::to_string(chart.readResult) + " points";
    case ViewerKind::kTft:
      return "TFT file, " + std::to_string(workspace.tft.rows) + " rows x " +
             std::to_string(workspace.tft.columns) + " columns";
  }
  return {};
}

// Whether two names are one file (the same inode, or the same name when `a` does not exist).
bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {};
  struct stat sb {};
  if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return a == b;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// For a file the viewer cannot draw: whether it is an export that `plexo import` brings in.
std::string_view ImportHint(const std::string& path) {
  std::string text;
  if (ReadRegularFile(path, text, size_t{64} << 20) != RegularFileRead::kRead) return {};
  switch (RecogniseExport(SplitExportLines(text))) {
    case ExportKind::kCsvExport:
      return " is a CSV export (\"time, volts\" rows): bring it in with plexo import FILE --to "
             "DIR, then view the waveform file written there.";
    case ExportKind::kHeaderless:
      return " is a headerless column of samples: bring it in with plexo import FILE --to DIR "
             "--dt SECONDS, then view the waveform file written there.";
    default:
      return {};
  }
}

int RunView(const ViewOptions& o, const CommonOptions& common) {
  HeadlessHost host(common.show);
  if (o.outGiven != nullptr && o.outGiven->count() > 0 && o.out.empty()) {
    std::cerr << "--out: give the name of the image to write (it is empty)" << std::endl;
    return ExitStatus(CalcStatus::kRefused);
  }
  const ImageFormat format = o.out.empty() ? ImageFormat::kNone : FormatOf(o.out);
  if (!o.out.empty() && SameFile(o.out, o.file)) {
    std::cerr << "--out: " << o.out << " is the file to draw; its picture would replace it"
              << std::endl;
    return ExitStatus(CalcStatus::kRefused);
  }
  if (!o.out.empty() && format == ImageFormat::kNone) {
    std::cerr << "--out: the image name must end in .png or .bmp: " << o.out << std::endl;
    return ExitStatus(CalcStatus::kRefused);
  }
  if (const std::optional<int> refused = RefuseInputFile(o.file)) return *refused;
  std::optional<ViewerKind> kind =
      o.kind.empty() ? DetectViewerKind(o.file) : ViewerKindFromName(o.kind);
  if (!kind) {
    std::cerr << o.file
              << " is not a waveform, FFT or TFT file; give --kind waveform|fft|tft to read it "
                 "as one."
              << std::endl;
    return ExitStatus(CalcStatus::kRefused);
  }
  auto workspace = std::make_unique<ViewerWorkspace>();
  const FileChart chart = DrawFileChart(*kind, o.file, *workspace);
  if (chart.readResult <= 0) {
    host.MessageBox(chart.readProblem.empty() ? kNoDataMessage
                                              : std::string_view(chart.readProblem));
    if (const std::string_view hint = ImportHint(o.file); !hint.empty())
      std::cerr << o.file << hint << std::endl;
    return ExitStatus(CalcStatus::kRefused);
  }
  std::cout << o.file << ": " << Summary(*kind, chart, *workspace) << std::endl;
  if (format != ImageFormat::kNone) {
    std::string error;
    const bool saved = format == ImageFormat::kPng ? SavePng(o.out, chart.image, &error)
                                                   : SaveBmp(o.out, chart.image, &error);
    if (!saved) {
      std::cerr << (error.empty() ? "Cannot write " + o.out : error) << std::endl;
      return ExitStatus(CalcStatus::kFailed);
    }
    std::cout << "Wrote " << o.out << std::endl;
  }
  host.ShowChart(ViewerTitle(*kind), chart.image, chart.data);
  return ExitStatus(CalcStatus::kDone);
}

}  // namespace

Command AddViewCommand(CLI::App& app, CommonOptions& common) {
  auto* sub = app.add_subcommand(
      "view",
      "Draws a waveform file, an FFT file (single or average) or a TFT file (modulus or\n"
      "complex, shown as modulus) as the desktop's viewers do: --out saves the chart, --show\n"
      "shows it. Any file name is accepted (the desktop's viewers take only names ending in\n"
      "\".txt\"); the kind is told from the file's first lines unless --kind gives it.");
  auto o = std::make_shared<ViewOptions>();
  sub->add_option("FILE", o->file, "The file to draw")->required();
  sub->add_option("--kind", o->kind, "Read the file as this kind instead of telling it")
      ->check(CLI::IsMember({"waveform", "fft", "tft"}));
  o->outGiven =
      sub->add_option("--out", o->out,
                      "Save the chart as this image: PNG or BMP, by the name's extension\n"
                      "(.png or .bmp); 800 x 200 (waveform), 800 x 300 (FFT), 800 x 600 (TFT)")
          ->type_name("IMAGE");
  return Command{sub, [o, &common]() { return RunView(*o, common); }};
}

}  // namespace plexo::cli
