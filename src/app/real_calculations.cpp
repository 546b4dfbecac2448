#include "app/real_calculations.h"

namespace plexo {

RealCalculations::RealCalculations() = default;
RealCalculations::~RealCalculations() = default;

CalcStatus RealCalculations::SingleFft(const std::string& path, int windowIndex,
                                       CalcProgress& /*progress*/, Host& host) {
  return SingleFFT(Workspace(singleFft_), path, windowIndex, host);
}

CalcStatus RealCalculations::SingleTft(const TftRequest& request, TftMethod method,
                                       CalcProgress& progress, Host& host) {
  if (method == TftMethod::kSpwvd)
    return CalcSingleSpwvd(Workspace(spwvd_), request, progress, host);
  return CalcSingleCwt(Workspace(cwt_), request, progress, host);
}

CalcStatus RealCalculations::AverageFft(const std::string& folder, int windowIndex,
                                        CalcProgress& progress, Host& host) {
  return AverageFFT(Workspace(averageFft_), folder, windowIndex, progress, host);
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
                                                   ConvolutionOutput output, CalcProgress& progress,
                                                   Host& host) {
  return plexo::ApplyTransferFunction(Workspace(convolution_), folder, fftPrecision, transferPath,
                                      operation, output, progress, host);
}

}  // namespace plexo
