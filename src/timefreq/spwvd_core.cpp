#include "timefreq/spwvd_core.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "signal/number_text.h"
#include "spectral/fft.h"
#include "timefreq/spwvd_lag_transform.h"
#include "timefreq/spwvd_lags.h"

namespace plexo {
namespace {

// The core's own checks. Their messages name fields of a result record ("tfr") that the rest of
// the program does not have; users know them in this form. A failed check refuses the run and
// the program goes on.
bool CoreInputValid(const SpwvdCoreInput& in, Host& host) {
  if (in.nFreq <= 0) {
    host.MessageBox("The field tfr.N_freq is not correctly set\n");
    return false;
  }
  if (in.nTime <= 0) {
    host.MessageBox("The field tfr.N_time is not correctly set\n");
    return false;
  }
  if (in.lt < 1 || in.lt % 2 == 0) {
    host.MessageBox("The time-window Length must be an ODD number\n");
    return false;
  }
  if (in.lf < 1 || in.lf % 2 == 0) {
    host.MessageBox("The frequency-window Length must be an ODD number\n");
    return false;
  }
  return true;
}

// Batches of columns are handed out in order to the workers; the calling thread is one of them
// and moves the progress position over every column of the finished prefix of batches.
class ColumnBatches {
 public:
  ColumnBatches(int nTime, CalcProgress& progress)
      : nTime_(nTime),
        count_((nTime + SpwvdLagTransform::kBatch - 1) / SpwvdLagTransform::kBatch),
        done_(static_cast<size_t>(count_)),
        progress_(progress) {}

  int Count() const { return count_; }
  int Claim() { return next_.fetch_add(1); }
  void Finish(int batch) { done_[batch].store(true, std::memory_order_release); }

  // Calling thread only.
  void ReportFinishedPrefix() {
    while (reported_ < count_ && done_[reported_].load(std::memory_order_acquire)) {
      const int first = reported_ * SpwvdLagTransform::kBatch;
      const int last = std::min(first + SpwvdLagTransform::kBatch, nTime_);
      for (int c = first; c < last; ++c) progress_.SetPos(c);
      ++reported_;
    }
  }

 private:
  int nTime_;
  int count_;
  std::vector<std::atomic<bool>> done_;
  std::atomic<int> next_{0};
  int reported_ = 0;
  CalcProgress& progress_;
};

}  // namespace

std::string SpwvdColumnLimitMessage(long long columns) {
  return "Time window of " + FormatD(columns) + " columns exceeds program limit of " +
         FormatD(TFT_ROW_STRIDE) + "!";
}

std::string SpwvdTransformLengthMessage(long long length) {
  return "Transform length of " + FormatD(length) + " exceeds program limit of " +
         FormatD(SPWVD_MAX_TRANSFORM_LENGTH) + "! Please increase the frequency resolution!";
}

int SpwvdWindowLength(int length, long long divisor) {
  long long l = std::max(length, 0) / divisor;
  if (l % 2 == 0) ++l;
  return static_cast<int>(l);
}

CalcStatus SpwvdCore(const SpwvdCoreInput& in, double* out, int outBins, CalcProgress& progress,
                     Host& host) {
  if (!CoreInputValid(in, host)) return CalcStatus::kRefused;
  outBins = std::clamp(outBins, 0, in.nFreq);

  // The lag window with its centre value set to 1 (every value divided by the centre's).
  const int hF = (in.lf - 1) / 2;
  std::vector<double> windowF(in.windowF, in.windowF + in.lf);
  const double centre = windowF[hF];
  for (double& w : windowF) w /= centre;

  const SpwvdLags lags(in.x, in.signalLength, in.windowT, in.lt, windowF.data(), in.lf, in.nFreq);
  const SpwvdLagTransform transform(in.nFreq, outBins, lags.LagCap());
  ColumnBatches batches(in.nTime, progress);

  auto work = [&](bool callingThread) {
    const size_t lagSize = static_cast<size_t>(in.nFreq);
    std::vector<double> lagValues(SpwvdLagTransform::kBatch * lagSize, 0.0);
    std::vector<double> scratch;
    for (int batch = batches.Claim(); batch < batches.Count(); batch = batches.Claim()) {
      const int first = batch * SpwvdLagTransform::kBatch;
      const int columns = std::min(SpwvdLagTransform::kBatch, in.nTime - first);
      for (int i = 0; i < columns; ++i) lags.Column(first + i, lagValues.data() + i * lagSize);
      transform.Magnitudes(lagValues.data(), columns, out + static_cast<size_t>(first) * outBins,
                           outBins, scratch);
      std::fill(lagValues.begin(), lagValues.begin() + columns * lagSize, 0.0);
      batches.Finish(batch);
      if (callingThread) batches.ReportFinishedPrefix();
    }
  };

  const int workers = std::clamp(in.workers, 1, batches.Count());
  std::vector<std::thread> helpers;
  for (int w = 1; w < workers; ++w) {
    try {
      helpers.emplace_back(work, false);
    } catch (const std::system_error&) {
      break;  // no more threads to be had: the others share the columns
    }
  }
  work(true);
  for (std::thread& t : helpers) t.join();
  batches.ReportFinishedPrefix();
  return CalcStatus::kDone;
}

CalcStatus SpwvdDistribution(TftMatrix& matrix, const double* x, int nTime, int nFreq,
                             int windowParameter, int workers, CalcProgress& progress, Host& host) {
  if (windowParameter <= 0) {
    host.MessageBox("Window parameter " + FormatD(windowParameter) +
                    " is not allowed! Value has to be > 0!");
    return CalcStatus::kRefused;
  }
  // Columns beyond the matrix would have nowhere to go; a longer transform over the lag would
  // only take longer (a finer grid than the samples can resolve) and need more memory.
  if (nTime > TFT_ROW_STRIDE) {
    host.MessageBox(SpwvdColumnLimitMessage(nTime));
    return CalcStatus::kRefused;
  }
  if (nFreq > SPWVD_MAX_TRANSFORM_LENGTH) {
    host.MessageBox(SpwvdTransformLengthMessage(nFreq));
    return CalcStatus::kRefused;
  }

  const int lt = SpwvdWindowLength(nTime, 5LL * windowParameter);
  const int lf = SpwvdWindowLength(nFreq, windowParameter);
  std::vector<double> windowT(lt, 1.0);
  HammingWindow(windowT.data(), lt);
  NormalizeMean(windowT.data(), lt, 1.0);
  std::vector<double> windowF(lf, 1.0);
  HammingWindow(windowF.data(), lf);
  NormalizeMean(windowF.data(), lf, 1.0);

  // Bins from TFT_MAX_ROWS on have no matrix row; they are not computed.
  const int bins = std::clamp(std::min(nFreq, TFT_MAX_ROWS), 0, TFT_MAX_ROWS);
  std::vector<double> out(static_cast<size_t>(std::max(nTime, 0)) * bins);
  SpwvdCoreInput input;
  input.x = x;
  input.signalLength = nTime;
  input.windowT = windowT.data();
  input.lt = lt;
  input.windowF = windowF.data();
  input.lf = lf;
  input.nFreq = nFreq;
  input.nTime = nTime;
  input.workers = workers;
  const CalcStatus status = SpwvdCore(input, out.data(), bins, progress, host);
  if (status != CalcStatus::kDone) return status;

  for (int k = 0; k < bins; ++k) {
    Complex* row = matrix.Row(k);
    for (int c = 0; c < nTime; ++c) row[c] = Complex{out[static_cast<size_t>(c) * bins + k], 0.0};
  }
  return CalcStatus::kDone;
}

}  // namespace plexo
