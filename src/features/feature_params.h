#pragma once
// The parameters of a feature extraction run: the texts of the feature dialog's edit fields, kept
// exactly as typed, and the numbers a run takes from them with the atof/atoi rules.
#include <array>
#include <string>

#include "timefreq/wavelet_method.h"

namespace plexo {

inline constexpr int kPartialPowerBands = 8;
inline constexpr int kWaveletBands = 4;

// The edit texts of the feature dialog (seconds, hertz, ohms).
struct FeatureParams {
  std::array<std::string, kPartialPowerBands> ppBegin{"0",     "150e3", "300e3", "450e3",
                                                      "600e3", "900e3", "0",     "0"};
  std::array<std::string, kPartialPowerBands> ppEnd{"150e3", "300e3",  "450e3", "600e3",
                                                    "900e3", "1200e3", "0",     "0"};
  std::string timeStart = "200e-6";
  std::string timeEnd = "400e-6";
  std::string duration = "100e-6";
  std::string freqStart = "0";
  std::string freqEnd = "1e6";
  std::string freqResolution = "10e3";
  std::array<std::string, kWaveletBands> wtBegin{"0", "150e3", "300e3", "450e3"};
  std::array<std::string, kWaveletBands> wtEnd{"150e3", "300e3", "450e3", "1000e3"};
  std::string waveletLength = "1001";
  int waveletType = 1;  // "Gabor"; shown only, a run does not read it
  std::string impedance = "50";
  std::string maxSamples = "16384";  // the most samples of a waveform (SampleLimitFromText)
  int waveletMethod = 0;             // 0 "Direct", 1 "FFT": how the wavelet rows are computed
};

// The numbers of one run, parsed once at its start.
struct FeatureSettings {
  std::array<double, kPartialPowerBands> ppBegin{};
  std::array<double, kPartialPowerBands> ppEnd{};
  double ppLimit = 0.0;  // the largest ppEnd and 0: the spectral total stops below it
  double timeStart = 0.0;
  double timeEnd = 0.0;
  double duration = 0.0;
  bool useAic = false;  // window from the onset picker instead of timeStart/timeEnd
  double freqStart = 0.0;
  double freqEnd = 0.0;
  double freqResolution = 0.0;
  std::array<double, kWaveletBands> wtBegin{};
  std::array<double, kWaveletBands> wtEnd{};
  int waveletLength = 0;
  WaveletMethod waveletMethod = WaveletMethod::kDirect;
  int impedance = 0;  // ohms; a text of 50.7 counts as 50
};

FeatureSettings ParseFeatureParams(const FeatureParams& params, bool useAic);
// The numbers of the dialog's initial texts, without the picker.
FeatureSettings DefaultFeatureSettings();

// The message every inverted band shows ("begin greater than end"; equal edges pass).
inline constexpr const char* kInvertedBandMessage =
    "Begin of frequency interval has to be smaller than end of frequency interval!";

// Band check of the settings in dialog order: partial power bands 1..8, then wavelet bands 1..4.
// Returns how many messages to show before the run goes on, and whether the last wavelet band
// (whose message ends the dialog without a run) is inverted.
struct BandCheck {
  int warnings = 0;    // inverted bands whose message is a warning only
  bool fatal = false;  // wavelet band 4 is inverted
};
BandCheck CheckBands(const FeatureSettings& settings);

}  // namespace plexo
