#pragma once
// --wavelet-method, shared by the commands that compute wavelet rows (features, tft, avg-tft).
#include <CLI/CLI.hpp>
#include <string>

#include "timefreq/wavelet_method.h"

namespace plexo::cli {

inline CLI::Option* AddWaveletMethodOption(CLI::App& command, std::string& method,
                                           const std::string& fallback) {
  return command
      .add_option("--wavelet-method", method,
                  "How wavelet rows are computed: direct (the sum over the wavelet's taps, bit\n"
                  "for bit the earlier results) or fft (fast convolution: about ten times faster\n"
                  "for 1001 taps over thousands of samples; each coefficient within 1e-12 of its\n"
                  "row's largest modulus, so a printed last digit may differ). Where fft does\n"
                  "not pay (short wavelets: under about 100 taps) its rows are the direct sum.\n"
                  "Default: " +
                      fallback)
      ->check(CLI::IsMember({"direct", "fft"}));
}

}  // namespace plexo::cli
