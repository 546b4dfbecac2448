#pragma once
// Calculations that only record how they were called, for the dialog tests.
#include <functional>
#include <string>
#include <vector>

#include "app/calculations.h"

namespace plexo::testing {

struct CalculationCall {
  std::string kind;  // "SingleFft", "SingleTft", "AverageFft", "AverageTft", "Transfer"
  std::string path;
  int windowIndex = -99;
  TftRequest tft;
  TftMethod method = TftMethod::kCwt;
  double threshold = 0.0;
  bool autoThreshold = false;
  int fftPrecision = -1;
  std::string transferPath;
  TransferOperation operation = TransferOperation::kConvolution;
  ConvolutionOutput output = ConvolutionOutput::kWaveformFiles;
  int maxSamples = -1;
};

class FakeCalculations : public Calculations {
 public:
  CalcStatus SingleFft(const std::string& path, int windowIndex, int maxSamples,
                       CalcProgress& progress, Host& host) override {
    CalculationCall call;
    call.kind = "SingleFft";
    call.path = path;
    call.windowIndex = windowIndex;
    call.maxSamples = maxSamples;
    return Record(call, progress, host);
  }
  CalcStatus SingleTft(const TftRequest& request, TftMethod method, CalcProgress& progress,
                       Host& host) override {
    CalculationCall call;
    call.kind = "SingleTft";
    call.path = request.path;
    call.tft = request;
    call.method = method;
    return Record(call, progress, host);
  }
  CalcStatus AverageFft(const std::string& folder, int windowIndex, int maxSamples,
                        CalcProgress& progress, Host& host) override {
    CalculationCall call;
    call.kind = "AverageFft";
    call.path = folder;
    call.windowIndex = windowIndex;
    call.maxSamples = maxSamples;
    return Record(call, progress, host);
  }
  CalcStatus AverageTft(const AverageTftRequest& request, TftMethod method, CalcProgress& progress,
                        Host& host) override {
    CalculationCall call;
    call.kind = "AverageTft";
    call.path = request.grid.path;
    call.tft = request.grid;
    call.method = method;
    call.threshold = request.threshold;
    call.autoThreshold = request.autoThreshold;
    return Record(call, progress, host);
  }
  CalcStatus ApplyTransferFunction(const std::string& folder, int fftPrecision,
                                   const std::string& transferPath, TransferOperation operation,
                                   ConvolutionOutput output, int maxSamples, CalcProgress& progress,
                                   Host& host) override {
    CalculationCall call;
    call.kind = "Transfer";
    call.path = folder;
    call.fftPrecision = fftPrecision;
    call.transferPath = transferPath;
    call.operation = operation;
    call.output = output;
    call.maxSamples = maxSamples;
    return Record(call, progress, host);
  }

  std::vector<CalculationCall> calls;
  // Runs inside every calculation, standing for what happens while it works.
  std::function<void(CalcProgress&, Host&)> during;
  CalcStatus result = CalcStatus::kDone;

 private:
  CalcStatus Record(const CalculationCall& call, CalcProgress& progress, Host& host) {
    calls.push_back(call);
    if (during) during(progress, host);
    return result;
  }
};

}  // namespace plexo::testing
