#pragma once
// The --max-samples option of the waveform-level calculations (fft, avg-fft, features,
// convolve, deconvolve): the most samples one waveform may have, from the default 16384 up to
// 2^20. The transform size follows the record (the next power of two); a run within 16384
// samples gives the same bytes with and without it. The time-frequency maps keep 16384.
#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "frontends/cli/number_option.h"
#include "signal/waveform.h"

namespace plexo::cli {

inline CLI::Option* AddMaxSamplesOption(CLI::App* sub, int& value) {
  return sub
      ->add_option("--max-samples", value,
                   "The most samples one waveform may have (default " +
                       std::to_string(MAX_SAMPLES) + ", at most " +
                       std::to_string(kLargestSampleLimit) +
                       "); longer ones are refused.\nThe transform grows to the next power "
                       "of two; shorter waveforms give the same results")
      ->transform(CLI::Validator(
          [](std::string& text) -> std::string {
            const std::optional<int> n = WholeInteger(text);
            if (n && *n >= MAX_SAMPLES && *n <= kLargestSampleLimit) {
              text = std::to_string(*n);
              return {};
            }
            return "Value " + text + " is not a sample limit: give " + std::to_string(MAX_SAMPLES) +
                   " to " + std::to_string(kLargestSampleLimit);
          },
          "N"))
      ->capture_default_str();
}

}  // namespace plexo::cli
