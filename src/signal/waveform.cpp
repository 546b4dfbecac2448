#include "signal/waveform.h"

#include <cmath>

#include "signal/number_text.h"

namespace plexo {

std::optional<int> SampleLimitFromText(std::string_view text) {
  const double value = ParseDouble(text);
  if (!(value >= MAX_SAMPLES && value <= kLargestSampleLimit) || value != std::trunc(value))
    return std::nullopt;
  return static_cast<int>(value);
}

std::string SamplingSizeMessage(int count) {
  return "Sampling size of " + std::to_string(count) + " exceeds program limit of " +
         std::to_string(MAX_SAMPLES) + "!";
}

std::string SampleLimitMessage(int count, int limit) {
  std::string message = "Sampling size of " + std::to_string(count) + " exceeds program limit of " +
                        std::to_string(limit) + "!";
  if (limit < kLargestSampleLimit)
    message +=
        " (--max-samples N raises the limit, up to " + std::to_string(kLargestSampleLimit) + ")";
  return message;
}

int SampleRoom(int stored) {
  int room = MAX_SAMPLES;
  while (room < stored && room < (1 << 30)) room *= 2;
  return room;
}

}  // namespace plexo
