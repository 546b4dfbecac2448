#include "timefreq/average_tft_methods.h"

#include "timefreq/cwt.h"
#include "timefreq/spwvd.h"

namespace plexo {

CalcStatus CalcAverageCwt(AverageTftWorkspace& average, CwtWorkspace& cwt,
                          const std::string& folder, const TftRequest& grid, double threshold,
                          bool autoThreshold, CalcProgress& progress, Host& host) {
  return AverageTft(average, folder, grid, threshold, autoThreshold, progress, host,
                    [&](const TftRequest& request, ResultFiles& result) {
                      return CalcSingleCwt(cwt, request, progress, host, &result);
                    });
}

CalcStatus CalcAverageSpwvd(AverageTftWorkspace& average, SpwvdWorkspace& spwvd,
                            const std::string& folder, const TftRequest& grid, double threshold,
                            bool autoThreshold, CalcProgress& progress, Host& host) {
  return AverageTft(average, folder, grid, threshold, autoThreshold, progress, host,
                    [&](const TftRequest& request, ResultFiles& result) {
                      return CalcSingleSpwvd(spwvd, request, progress, host, &result);
                    });
}

}  // namespace plexo
