#include "app/real_calculations.h"

namespace plexo {

RealCalculations::RealCalculations() = default;
RealCalculations::~RealCalculations() = default;

CalcStatus RealCalculations::SingleFft(const std::string& path, int windowIndex, int maxSamples,
                                       CalcProgress& /*progress*/, Host& host) {
  SingleFftWorkspace& workspace = Workspace(singleFft_);
  workspace.maxSamples = maxSamples;
  return SingleFFT(workspace, path, windowIndex, host);
}

CalcStatus RealCalculations::SingleTft(const TftRequest& request, TftMethod method,
                                       CalcProgress& progress, Host& host) {
  if (method == TftMethod::kSpwvd)
    return CalcSingleSpwvd(Workspace(spwvd_), request, progress, host);
  return CalcSingleCwt(Workspace(cwt_), request, progress, host);
}

CalcStatus RealCalculations::AverageFft(const std::string& folder, int windowIndex, int maxSamples,
                                        CalcProgress& progress, Host& host) {
  AverageFftWorkspace& workspace = Workspace(averageFft_);
  workspace.maxSamples = maxSamples;
  return AverageFFT(workspace, folder, windowIndex, progress, host);
}

CalcStatus RealCalculations::AverageTft(const AverageTftRequest& request, TftMethod method,
                                        CalcProgress& progress, Host& host) {
  const std::string& folder = request.grid.path;
  if (method == TftMethod::kSpwvd) {
    return CalcAverageSpwvd(Workspace(averageTft_), Workspace(spwvd_), folder, request.grid,
                            request.threshold, request.autoThreshold, progress, host);
  }
  return CalcAverageCwt(Workspace(averageTft_), Workspace(cwt_), folder, request.grid,
                        request.threshold, request.autoThreshold, progress, host);
}

CalcStatus RealCalculations::ApplyTransferFunction(const std::string& folder, int fftPrecision,
                                                   const std::string& transferPath,
                                                   TransferOperation operation,
                                                   ConvolutionOutput output, int maxSamples,
                                                   CalcProgress& progress, Host& host) {
  ConvolutionWorkspace& workspace = Workspace(convolution_);
  workspace.maxSamples = maxSamples;
  return plexo::ApplyTransferFunction(workspace, folder, fftPrecision, transferPath, operation,
                                      output, progress, host);
}

}  // namespace plexo
