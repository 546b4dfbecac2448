#pragma once
// The smoothed local autocorrelation of the distribution: for the column at time instant n, the
// lag values that the transform over the lag turns into one column of the distribution.
//
// Lag tau >= 1 of column n is R(tau) = sum over mu of x[n+tau-mu] x[n-tau-mu] WindowT[hT+mu]/normT
// with mu running over the part of the time window where both samples exist; it is stored as
// R(tau) WindowF[hF+tau] at index tau and R(tau) WindowF[hF-tau] at index nFreq-tau. Every sum
// runs in ascending mu, term by term as written, so the values do not depend on how many lags
// are computed side by side.
#include <vector>

namespace plexo {

class SpwvdLags {
 public:
  // windowF must already hold 1 at its centre. The arrays must outlive the object.
  SpwvdLags(const double* x, int signalLength, const double* windowT, int lt, const double* windowF,
            int lf, int nFreq);

  // Writes the lag values of the column at time instant n >= 0 into lag[0 .. nFreq-1], which must
  // hold zeros: lags 0 .. tauMax, nFreq-tauMax .. nFreq-1 and nFreq/2 are written.
  void Column(int n, double* lag) const;

  // The largest tauMax of any column (at most nFreq/2 - 1; negative when only lag 0 and the
  // half-length lag can be non-zero).
  int LagCap() const { return lagCap_; }

 private:
  double NormT(int low, int high) const;        // sum of WindowT over mu = -low .. high
  double CachedNormT(int low, int high) const;  // the same value, looked up where possible
  double Autocorrelation(int n, int tau) const;
  void LagsSideBySide(int n, int tauMax, double* lag) const;

  const double* x_;
  int n_;
  const double* windowT_;
  int hT_;
  const double* windowF_;
  int hF_;
  int nFreq_;
  int lagCap_;
  bool zeroPaddingExact_;             // lags side by side add exact zeros only
  std::vector<double> padded_;        // x with kLanes zeros on either side
  std::vector<double> reversed_;      // padded_ backwards, so that x[n-tau-mu] runs forward in tau
  std::vector<double> normLowEdge_;   // NormT(low, hT), index low + hT
  std::vector<double> normHighEdge_;  // NormT(hT, high), index high + hT
};

}  // namespace plexo
