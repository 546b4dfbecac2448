#include "signal/waveform.h"

namespace plexo {

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
