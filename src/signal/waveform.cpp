#include "signal/waveform.h"

namespace plexo {

std::string SamplingSizeMessage(int count) {
  return "Sampling size of " + std::to_string(count) + " exceeds program limit of " +
         std::to_string(MAX_SAMPLES) + "!";
}

}  // namespace plexo
