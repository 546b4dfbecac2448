#pragma once
// What the Options dialog starts: one call per calculation mode, with the single values the
// dialog collects. The desktop hands the dialog the real calculations; tests hand it a recorder.
#include <string>

#include "platform/host.h"
#include "spectral/convolution.h"  // TransferOperation
#include "timefreq/tft_request.h"

namespace plexo {

enum class TftMethod {
  kCwt,    // continuous wavelet transform
  kSpwvd,  // smoothed pseudo Wigner-Ville distribution
};

// An Average TFT: the time-frequency parameters (with `grid.path` naming the folder) plus the
// alignment of every waveform on a threshold before averaging.
struct AverageTftRequest {
  TftRequest grid;
  double threshold = 0.0;
  bool autoThreshold = false;  // align every waveform on the threshold before it is summed
};

class Calculations {
 public:
  virtual ~Calculations() = default;

  // `maxSamples` is the most samples a waveform may have (the "Max. Samples" field) in the
  // Single FFT, the Average FFT and convolution.
  virtual CalcStatus SingleFft(const std::string& path, int windowIndex, int maxSamples,
                               CalcProgress& progress, Host& host) = 0;
  virtual CalcStatus SingleTft(const TftRequest& request, TftMethod method, CalcProgress& progress,
                               Host& host) = 0;
  virtual CalcStatus AverageFft(const std::string& folder, int windowIndex, int maxSamples,
                                CalcProgress& progress, Host& host) = 0;
  virtual CalcStatus AverageTft(const AverageTftRequest& request, TftMethod method,
                                CalcProgress& progress, Host& host) = 0;
  // `fftPrecision` is the exponent p of the 2^p-point transforms; `output` is the
  // output format's choice ("Columns" or "Single").
  virtual CalcStatus ApplyTransferFunction(const std::string& folder, int fftPrecision,
                                           const std::string& transferPath,
                                           TransferOperation operation, ConvolutionOutput output,
                                           int maxSamples, CalcProgress& progress, Host& host) = 0;
};

}  // namespace plexo
