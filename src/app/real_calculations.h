#pragma once
// The calculations the desktop runs, with the workspaces they keep for the life of the program.
// One object serves one dialog at a time: the dialog never starts a second run inside the first.
#include <memory>

#include "app/calculations.h"
#include "spectral/average_fft.h"
#include "spectral/convolution.h"
#include "spectral/single_fft.h"
#include "timefreq/average_tft_methods.h"
#include "timefreq/cwt.h"
#include "timefreq/spwvd.h"

namespace plexo {

class RealCalculations : public Calculations {
 public:
  RealCalculations();
  ~RealCalculations() override;

  CalcStatus SingleFft(const std::string& path, int windowIndex, int maxSamples,
                       CalcProgress& progress, Host& host) override;
  CalcStatus SingleTft(const TftRequest& request, TftMethod method, CalcProgress& progress,
                       Host& host) override;
  CalcStatus AverageFft(const std::string& folder, int windowIndex, int maxSamples,
                        CalcProgress& progress, Host& host) override;
  CalcStatus AverageTft(const AverageTftRequest& request, TftMethod method, CalcProgress& progress,
                        Host& host) override;
  CalcStatus ApplyTransferFunction(const std::string& folder, int fftPrecision,
                                   const std::string& transferPath, TransferOperation operation,
                                   ConvolutionOutput output, int maxSamples, CalcProgress& progress,
                                   Host& host) override;

 private:
  // Allocated on first use: most sessions run one or two kinds of calculation.
  template <typename T>
  T& Workspace(std::unique_ptr<T>& slot) {
    if (!slot) slot = std::make_unique<T>();
    return *slot;
  }
  std::unique_ptr<SingleFftWorkspace> singleFft_;
  std::unique_ptr<CwtWorkspace> cwt_;
  std::unique_ptr<SpwvdWorkspace> spwvd_;
  std::unique_ptr<AverageFftWorkspace> averageFft_;
  std::unique_ptr<ConvolutionWorkspace> convolution_;
  std::unique_ptr<AverageTftWorkspace> averageTft_;
};

}  // namespace plexo
