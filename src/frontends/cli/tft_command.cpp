// plexo tft FILE: the Single TFT of one waveform file, by the wavelet transform or the smoothed
// pseudo Wigner-Ville distribution. Values start from the setup file as the Options dialog
// shows them; flags override them; the dialog's validation runs before the calculation.
#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>

#include "frontends/cli/cli_app.h"
#include "platform/file_system.h"
#include "platform/headless_host.h"
#include "signal/calc_settings.h"
#include "signal/number_text.h"
#include "timefreq/cwt.h"
#include "timefreq/tft_request.h"

#if __has_include("timefreq/spwvd.h")
#include "timefreq/spwvd.h"
#define PLEXO_HAVE_SPWVD 1
#endif

namespace plexo::cli {
namespace {

// What the command line may set, and which of it was given.
struct TftOptions {
  std::string file;
  std::string method;
  double timeStart = 0, timeEnd = 0, timeRes = 0;
  double freqStart = 0, freqEnd = 0, freqRes = 0;
  bool autoTimeRes = false, autoFreqRes = false, complex = false;
  int waveletLength = 0, subsampling = 0, windowParameter = 0;
  int jobs = 0;
  CLI::Option *timeStartGiven, *timeEndGiven, *timeResGiven;
  CLI::Option *freqStartGiven, *freqEndGiven, *freqResGiven;
  CLI::Option *autoTimeResGiven, *autoFreqResGiven, *complexGiven;
  CLI::Option *waveletLengthGiven, *subsamplingGiven, *windowParameterGiven;
};

// The values the Options dialog would hand over for these settings: it shows the grid as
// "%.2e" texts and the lengths as "%.0lf" texts and parses what it shows.
TftRequest RequestFromSettings(const CalcSettings& s) {
  const auto grid = [](double v) { return DialogTextToValue(DialogTextExponent(v)); };
  const auto integer = [](double v) { return ParseInt(DialogTextInteger(v)); };
  TftRequest r;
  r.timeStart = grid(s.timeStart);
  r.timeEnd = grid(s.timeEnd);
  r.timeRes = grid(s.timeRes);
  r.freqStart = grid(s.freqStart);
  r.freqEnd = grid(s.freqEnd);
  r.freqRes = grid(s.freqRes);
  r.autoTimeRes = s.autoResTime != 0 ? 1 : 0;
  r.autoFreqRes = s.autoResFreq != 0 ? 1 : 0;
  r.outputType = s.wtComplex != 0 ? 'c' : 'a';
  r.waveletLength = integer(s.wtSize);
  r.subsampling = integer(s.cwdSize);
  r.windowParameter = integer(s.cwdSigma);
  return r;
}

void Override(const TftOptions& o, TftRequest& r) {
  const auto given = [](const CLI::Option* option) { return option->count() > 0; };
  if (given(o.timeStartGiven)) r.timeStart = o.timeStart;
  if (given(o.timeEndGiven)) r.timeEnd = o.timeEnd;
  if (given(o.timeResGiven)) r.timeRes = o.timeRes;
  if (given(o.freqStartGiven)) r.freqStart = o.freqStart;
  if (given(o.freqEndGiven)) r.freqEnd = o.freqEnd;
  if (given(o.freqResGiven)) r.freqRes = o.freqRes;
  if (given(o.autoTimeResGiven)) r.autoTimeRes = o.autoTimeRes ? 1 : 0;
  if (given(o.autoFreqResGiven)) r.autoFreqRes = o.autoFreqRes ? 1 : 0;
  if (given(o.complexGiven)) r.outputType = o.complex ? 'c' : 'a';
  if (given(o.waveletLengthGiven)) r.waveletLength = o.waveletLength;
  if (given(o.subsamplingGiven)) r.subsampling = o.subsampling;
  if (given(o.windowParameterGiven)) r.windowParameter = o.windowParameter;
}

// The Options dialog's check before a time-frequency calculation: ordered, non-negative bounds
// and positive resolutions, even where the automatic resolutions will replace them. Written so
// that a value that is not a number fails.
bool GridIsConsistent(const TftRequest& r) {
  return r.timeEnd >= r.timeStart && r.timeStart >= 0 && r.timeEnd >= 0 && r.timeRes > 0 &&
         r.freqEnd >= r.freqStart && r.freqStart >= 0 && r.freqEnd >= 0 && r.freqRes > 0;
}

// A progress line on standard error when it is a terminal.
class TerminalProgress : public NullProgress {
 public:
  TerminalProgress() : shown_(isatty(STDERR_FILENO) != 0) {}
  ~TerminalProgress() override {
    if (shown_ && drawn_) std::cerr << std::endl;
  }
  void SetRange(int, int high) override { high_ = high; }
  void SetPos(int pos) override {
    if (!shown_) return;
    drawn_ = true;
    std::cerr << "\rrow " << pos << " of " << high_ << std::flush;
  }

 private:
  bool shown_;
  bool drawn_ = false;
  int high_ = 0;
};

int RunTft(const TftOptions& o, const CommonOptions& common) {
  HeadlessHost host(common.show);
  TftRequest request = RequestFromSettings(common.settings.settings);
  request.path = o.file;
  Override(o, request);
  if (!GridIsConsistent(request)) {
    host.MessageBox("Non-valid input parameters! Please check consistence!");
    return ExitStatus(CalcStatus::kRefused);
  }
  const bool wigner_ville =
      o.method.empty() ? common.settings.settings.wtSelect != 0 : o.method == "spwvd";
  const bool table = request.outputType == 'a' || request.outputType == 'c';
  TerminalProgress progress;
  CalcStatus status;
  std::string suffix;
  if (wigner_ville) {
#ifdef PLEXO_HAVE_SPWVD
    auto workspace = std::make_unique<SpwvdWorkspace>();
    status = CalcSingleSpwvd(*workspace, request, progress, host);
    suffix = "_spvwd";
#else
    std::cerr << "The Wigner-Ville distribution is not part of this build." << std::endl;
    return ExitStatus(CalcStatus::kRefused);
#endif
  } else {
    auto workspace = std::make_unique<CwtWorkspace>();
    workspace->jobs = o.jobs;
    status = CalcSingleCwt(*workspace, request, progress, host);
    suffix = "_wt";
  }
  if (status == CalcStatus::kDone) {
    const std::string stem = PathWithoutExtension(o.file) + suffix;
    if (table) std::cout << "Wrote " << stem << LowerCaseExtension(o.file) << "\n";
    std::cout << "Wrote " << stem << "_preview.bmp" << std::endl;
  }
  return ExitStatus(status);
}

}  // namespace

Command AddTftCommand(CLI::App& app, CommonOptions& common) {
  auto* sub = app.add_subcommand(
      "tft",
      "Single TFT of one waveform file: the Gabor wavelet transform (writes <name>_wt.txt and\n"
      "<name>_wt_preview.bmp) or the smoothed pseudo Wigner-Ville distribution (<name>_spvwd.txt\n"
      "and <name>_spvwd_preview.bmp), beside the input. Values not given come from the setup\n"
      "file.");
  auto o = std::make_shared<TftOptions>();
  sub->add_option("FILE", o->file, "Waveform file (extension .txt in any letter case)")->required();
  sub->add_option("--method", o->method, "cwt (wavelet transform) or spwvd (Wigner-Ville)")
      ->check(CLI::IsMember({"cwt", "spwvd"}));
  o->timeStartGiven = sub->add_option("--time-start", o->timeStart, "Window start, s");
  o->timeEndGiven = sub->add_option("--time-end", o->timeEnd, "Window end, s");
  o->timeResGiven = sub->add_option("--time-res", o->timeRes, "Sample interval to assume, s (> 0)");
  o->freqStartGiven = sub->add_option("--freq-start", o->freqStart, "Frequency start, Hz");
  o->freqEndGiven = sub->add_option("--freq-end", o->freqEnd, "Frequency end, Hz");
  o->freqResGiven = sub->add_option("--freq-res", o->freqRes, "Frequency step, Hz (> 0)");
  o->autoTimeResGiven =
      sub->add_flag("--auto-time-res", o->autoTimeRes,
                    "Take the sample interval from the file (--auto-time-res=0 to use --time-res)");
  o->autoFreqResGiven = sub->add_flag("--auto-freq-res", o->autoFreqRes,
                                      "Automatic frequency grid (--auto-freq-res=0: off)");
  o->complexGiven = sub->add_flag(
      "--complex", o->complex, "Write real,imaginary cells instead of moduli (--complex=0: off)");
  o->waveletLengthGiven =
      sub->add_option("--wavelet-length", o->waveletLength, "Wavelet samples (wavelet transform)");
  o->subsamplingGiven =
      sub->add_option("--subsampling", o->subsampling, "Keep every n-th sample (Wigner-Ville)");
  o->windowParameterGiven = sub->add_option("--window-parameter", o->windowParameter,
                                            "Divisor of the smoothing windows (Wigner-Ville)");
  sub->add_option("--jobs", o->jobs,
                  "Threads computing the wavelet rows (default: one per core); results do not\n"
                  "depend on it")
      ->check(CLI::NonNegativeNumber);
  Command command;
  command.app = sub;
  command.run = [o, &common]() { return RunTft(*o, common); };
  return command;
}

}  // namespace plexo::cli
