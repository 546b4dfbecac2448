#include "timefreq/spwvd_lags.h"

#include <algorithm>
#include <cmath>

namespace plexo {
namespace {

// Lags computed side by side: each lane is its own sum over mu, so the compiler may put the lanes
// into one vector register without changing any sum.
constexpr int kLanes = 8;

}  // namespace

SpwvdLags::SpwvdLags(const double* x, int signalLength, const double* windowT, int lt,
                     const double* windowF, int lf, int nFreq)
    : x_(x),
      n_(std::max(signalLength, 0)),
      windowT_(windowT),
      hT_((lt - 1) / 2),
      windowF_(windowF),
      hF_((lf - 1) / 2),
      nFreq_(nFreq) {
  // tauMax of column n is at most min(n, N-1-n) + hT, whose largest value is (N-1)/2 + hT.
  lagCap_ = std::min({nFreq_ / 2 - 1, hF_, (n_ - 1) / 2 + hT_});

  // The zero terms of the padding stay exact zeros only with finite samples and a finite,
  // positive time window (then every normT of a non-empty range is positive).
  zeroPaddingExact_ = std::all_of(x_, x_ + n_, [](double v) { return std::isfinite(v); }) &&
                      std::all_of(windowT_, windowT_ + (2 * hT_ + 1),
                                  [](double v) { return std::isfinite(v) && v > 0.0; });
  padded_.assign(static_cast<size_t>(n_) + 2 * kLanes, 0.0);
  std::copy(x_, x_ + n_, padded_.begin() + kLanes);
  reversed_.assign(padded_.rbegin(), padded_.rend());

  // Away from the ends of the signal one side of the time window is whole; these two tables cover
  // all such ranges, each entry summed exactly as NormT sums it.
  normLowEdge_.resize(2 * hT_ + 1);
  normHighEdge_.resize(2 * hT_ + 1);
  for (int v = -hT_; v <= hT_; ++v) {
    normLowEdge_[v + hT_] = NormT(v, hT_);
    normHighEdge_[v + hT_] = NormT(hT_, v);
  }
}

double SpwvdLags::NormT(int low, int high) const {
  double sum = 0.0;
  for (int mu = -low; mu <= high; ++mu) sum += windowT_[hT_ + mu];
  return sum;
}

double SpwvdLags::CachedNormT(int low, int high) const {
  if (-low > high) return 0.0;  // empty range; otherwise low and high lie in -hT .. hT
  if (high == hT_) return normLowEdge_[low + hT_];
  if (low == hT_) return normHighEdge_[high + hT_];
  return NormT(low, high);
}

double SpwvdLags::Autocorrelation(int n, int tau) const {
  const int low = std::min(hT_, n_ - n - 1 - tau);
  const int high = std::min(hT_, n - tau);
  const double normT = CachedNormT(low, high);
  double r = 0.0;
  for (int mu = -low; mu <= high; ++mu)
    r += x_[n + tau - mu] * x_[n - tau - mu] * windowT_[hT_ + mu] / normT;
  return r;
}

// kLanes consecutive lags at once. Every lane runs over the mu range of the first lane, which
// contains the ranges of the later lanes; outside its own range a lane meets a zero of the
// padding in one factor, which makes the term an exact zero (zeroPaddingExact_). A sum that starts
// at +0 never becomes -0, so adding zeros leaves it bit for bit as the sum over its own range.
void SpwvdLags::LagsSideBySide(int n, int tauMax, double* lag) const {
  for (int tau0 = 1; tau0 <= tauMax; tau0 += kLanes) {
    const int low0 = std::min(hT_, n_ - n - 1 - tau0);
    const int high0 = std::min(hT_, n - tau0);
    if (-low0 > high0) return;  // this lag and all larger ones have empty ranges: R = 0

    double normT[kLanes];
    bool empty[kLanes];
    for (int l = 0; l < kLanes; ++l) {
      const int tau = tau0 + l;
      const int low = std::min(hT_, n_ - n - 1 - tau);
      const int high = std::min(hT_, n - tau);
      empty[l] = -low > high;
      normT[l] = empty[l] ? 1.0 : CachedNormT(low, high);
    }

    // Lane l at mu reads x[n+tau0+l-mu] from a and x[n-tau0-l-mu] from b.
    double acc[kLanes] = {};
    for (int mu = -low0; mu <= high0; ++mu) {
      const double w = windowT_[hT_ + mu];
      const double* a = padded_.data() + (kLanes + n + tau0 - mu);
      const double* b = reversed_.data() + (n_ + kLanes - 1 - n + tau0 + mu);
      for (int l = 0; l < kLanes; ++l) acc[l] += a[l] * b[l] * w / normT[l];
    }

    const int lanes = std::min(kLanes, tauMax - tau0 + 1);
    for (int l = 0; l < lanes; ++l) {
      const int tau = tau0 + l;
      const double r = empty[l] ? 0.0 : acc[l];
      lag[tau] = r * windowF_[hF_ + tau];
      lag[nFreq_ - tau] = r * windowF_[hF_ - tau];
    }
  }
}

void SpwvdLags::Column(int n, double* lag) const {
  const int tauMax = std::min({n + hT_, n_ - n - 1 + hT_, nFreq_ / 2 - 1, hF_});

  // Lag 0: the squared samples under the time window.
  {
    const int low = std::min(hT_, n_ - n - 1);
    const int high = std::min(hT_, n);
    const double normT = CachedNormT(low, high);
    double sum = 0.0;
    for (int mu = -low; mu <= high; ++mu)
      sum += x_[n - mu] * x_[n - mu] * windowT_[hT_ + mu] / normT;
    lag[0] = sum;
  }

  if (zeroPaddingExact_) {
    LagsSideBySide(n, tauMax, lag);
  } else {
    // Infinite or NaN values would turn the padding's zero terms into NaN: one lag at a time.
    for (int tau = 1; tau <= tauMax; ++tau) {
      const double r = Autocorrelation(n, tau);
      lag[tau] = r * windowF_[hF_ + tau];
      lag[nFreq_ - tau] = r * windowF_[hF_ - tau];
    }
  }

  // The lag of half the transform length, where both halves of the lag window meet.
  const int tau = nFreq_ / 2;
  if (n <= n_ - tau - 1 && n >= tau && tau <= hF_) {
    const double r = Autocorrelation(n, tau);
    lag[tau] = 0.5 * (r * windowF_[hF_ + tau] + r * windowF_[hF_ - tau]);
  }
}

}  // namespace plexo
