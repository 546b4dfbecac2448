#include "frontends/cli/tft_options.h"

#include "frontends/cli/number_option.h"
#include "frontends/cli/wavelet_method_option.h"
#include "signal/number_text.h"

namespace plexo::cli {
namespace {

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
  r.autoTimeRes = s.autoResTime != 0;
  r.autoFreqRes = s.autoResFreq != 0;
  r.output = s.wtComplex != 0 ? TftOutput::kComplex : TftOutput::kModulus;
  r.waveletLength = integer(s.wtSize);
  r.waveletMethod = integer(s.wtMethod) == 1 ? WaveletMethod::kFft : WaveletMethod::kDirect;
  r.subsampling = integer(s.cwdSize);
  r.windowParameter = integer(s.cwdSigma);
  return r;
}

void Override(const TftGridOptions& o, TftRequest& r) {
  const auto given = [](const CLI::Option* option) { return option && option->count() > 0; };
  if (given(o.timeStartGiven)) r.timeStart = o.timeStart;
  if (given(o.timeEndGiven)) r.timeEnd = o.timeEnd;
  if (given(o.timeResGiven)) r.timeRes = o.timeRes;
  if (given(o.freqStartGiven)) r.freqStart = o.freqStart;
  if (given(o.freqEndGiven)) r.freqEnd = o.freqEnd;
  if (given(o.freqResGiven)) r.freqRes = o.freqRes;
  if (given(o.autoTimeResGiven)) r.autoTimeRes = o.autoTimeRes;
  if (given(o.autoFreqResGiven)) r.autoFreqRes = o.autoFreqRes;
  if (given(o.complexGiven)) r.output = o.complex ? TftOutput::kComplex : TftOutput::kModulus;
  if (given(o.waveletLengthGiven)) r.waveletLength = o.waveletLength;
  if (!o.waveletMethod.empty())
    r.waveletMethod = WaveletMethodNamed(o.waveletMethod).value_or(WaveletMethod::kDirect);
  if (given(o.subsamplingGiven)) r.subsampling = o.subsampling;
  if (given(o.windowParameterGiven)) r.windowParameter = o.windowParameter;
}

}  // namespace

void AddTftGridOptions(CLI::App& sub, TftGridOptions& o) {
  sub.add_option("--method", o.method, "cwt (wavelet transform) or spwvd (Wigner-Ville)")
      ->check(CLI::IsMember({"cwt", "spwvd"}));
  o.timeStartGiven =
      sub.add_option("--time-start", o.timeStart, "Window start, s")->check(NumberCheck());
  o.timeEndGiven = sub.add_option("--time-end", o.timeEnd, "Window end, s")->check(NumberCheck());
  o.timeResGiven = sub.add_option("--time-res", o.timeRes, "Sample interval to assume, s (> 0)")
                       ->check(NumberCheck());
  o.freqStartGiven =
      sub.add_option("--freq-start", o.freqStart, "Frequency start, Hz")->check(NumberCheck());
  o.freqEndGiven =
      sub.add_option("--freq-end", o.freqEnd, "Frequency end, Hz")->check(NumberCheck());
  o.freqResGiven =
      sub.add_option("--freq-res", o.freqRes, "Frequency step, Hz (> 0)")->check(NumberCheck());
  o.autoTimeResGiven =
      sub.add_flag("--auto-time-res,!--no-auto-time-res", o.autoTimeRes,
                   "Take the sample interval from the file (--no-auto-time-res or\n"
                   "--auto-time-res=0: use --time-res)");
  o.autoFreqResGiven =
      sub.add_flag("--auto-freq-res,!--no-auto-freq-res", o.autoFreqRes,
                   "Automatic frequency grid (--no-auto-freq-res or --auto-freq-res=0: off)");
  o.complexGiven = sub.add_flag("--complex,!--no-complex", o.complex,
                                "Write real,imaginary cells instead of moduli (--no-complex or\n"
                                "--complex=0: moduli)");
  o.waveletLengthGiven =
      sub.add_option("--wavelet-length", o.waveletLength, "Wavelet samples (wavelet transform)")
          ->transform(PositiveCountCheck());
  AddWaveletMethodOption(sub, o.waveletMethod, "the setup file's [WT-Method] (0 direct, 1 fft)");
  o.subsamplingGiven =
      sub.add_option("--subsampling", o.subsampling, "Keep every n-th sample (Wigner-Ville)")
          ->transform(PositiveCountCheck());
  o.windowParameterGiven = sub.add_option("--window-parameter", o.windowParameter,
                                          "Divisor of the smoothing windows (Wigner-Ville)")
                               ->transform(PositiveCountCheck());
}

TftRequest TftRequestFor(const TftGridOptions& options, const CalcSettings& settings) {
  TftRequest request = RequestFromSettings(settings);
  Override(options, request);
  return request;
}

bool UsesWignerVille(const TftGridOptions& options, const CalcSettings& settings) {
  return options.method.empty() ? settings.wtSelect != 0 : options.method == "spwvd";
}

}  // namespace plexo::cli
