#pragma once
// The two Average TFTs: the folder average of average_tft.h followed by the wavelet transform or
// by the Wigner-Ville distribution of the average waveform.
#include <string>

#include "platform/host.h"
#include "timefreq/average_tft.h"
#include "timefreq/tft_request.h"

namespace plexo {

struct CwtWorkspace;
struct SpwvdWorkspace;

// `grid` carries the single calculation's parameters; its path is not used (the average
// waveform file takes its place) and its timeRes is replaced by the sample interval of the last
// file averaged. The result files lie beside folder/avgWTData/average_signal.txt.
CalcStatus CalcAverageCwt(AverageTftWorkspace& average, CwtWorkspace& cwt,
                          const std::string& folder, const TftRequest& grid, double threshold,
                          bool autoThreshold, CalcProgress& progress, Host& host);
CalcStatus CalcAverageSpwvd(AverageTftWorkspace& average, SpwvdWorkspace& spwvd,
                            const std::string& folder, const TftRequest& grid, double threshold,
                            bool autoThreshold, CalcProgress& progress, Host& host);

}  // namespace plexo
