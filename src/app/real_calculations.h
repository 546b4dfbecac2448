#pragma once
// The calculations the desktop runs, with the workspaces they keep for the life of the program.
// One object serves one dialog at a time: the dialog never starts a second run inside the first.
#include "app/calculations.h"
#include "spectral/single_fft.h"

namespace plexo {

inline constexpr std::string_view kCalculationNotAvailableMessage =
    "This calculation is not available yet.";

class RealCalculations : public Calculations {
 public:
  CalcStatus SingleFft(const std::string& path, int windowIndex, CalcProgress& progress,
                       Host& host) override;
  CalcStatus SingleTft(const TftRequest& request, TftMethod method, CalcProgress& progress,
                       Host& host) override;
  CalcStatus AverageFft(const std::string& folder, int windowIndex, CalcProgress& progress,
                        Host& host) override;
  CalcStatus AverageTft(const AverageTftRequest& request, TftMethod method, CalcProgress& progress,
                        Host& host) override;
  CalcStatus ApplyTransferFunction(const std::string& folder, int fftPrecision,
                                   const std::string& transferPath, TransferOperation operation,
                                   char outputChoice, CalcProgress& progress, Host& host) override;

 private:
  SingleFftWorkspace singleFft_;
  // TO WIRE: the workspaces of the wavelet transform, the Wigner-Ville distribution, the
  // Average FFT, convolution and the Average TFT join here as those calculations land.
};

}  // namespace plexo
