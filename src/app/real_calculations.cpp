#include "app/real_calculations.h"

namespace plexo {

namespace {

CalcStatus NotAvailable(Host& host) {
  host.MessageBox(kCalculationNotAvailableMessage);
  return CalcStatus::kRefused;
}

}  // namespace

CalcStatus RealCalculations::SingleFft(const std::string& path, int windowIndex,
                                       CalcProgress& /*progress*/, Host& host) {
  return SingleFFT(singleFft_, path, windowIndex, host);
}

// TO WIRE: CalcSingleCwt (kCwt) and CalcSingleSpwvd (kSpwvd) with `request` and `progress`.
CalcStatus RealCalculations::SingleTft(const TftRequest& /*request*/, TftMethod /*method*/,
                                       CalcProgress& /*progress*/, Host& host) {
  return NotAvailable(host);
}

// TO WIRE: AverageFFT (folder, window index) with `progress`.
CalcStatus RealCalculations::AverageFft(const std::string& /*folder*/, int /*windowIndex*/,
                                        CalcProgress& /*progress*/, Host& host) {
  return NotAvailable(host);
}

// TO WIRE: CalcAverageCwt (kCwt) and CalcAverageSpwvd (kSpwvd) with the request's grid, the
// threshold and the three flags.
CalcStatus RealCalculations::AverageTft(const AverageTftRequest& /*request*/, TftMethod /*method*/,
                                        CalcProgress& /*progress*/, Host& host) {
  return NotAvailable(host);
}

// TO WIRE: ApplyTransferFunction (folder, precision, transfer path, 0/1, output choice).
CalcStatus RealCalculations::ApplyTransferFunction(const std::string& /*folder*/,
                                                   int /*fftPrecision*/,
                                                   const std::string& /*transferPath*/,
                                                   TransferOperation /*operation*/,
                                                   char /*outputChoice*/,
                                                   CalcProgress& /*progress*/, Host& host) {
  return NotAvailable(host);
}

}  // namespace plexo
