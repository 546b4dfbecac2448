#pragma once
// FLAC streams held in memory, as a waveform database stores a record's samples: decoded by
// libFLAC into 16-bit values.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plexo {

// Decodes a complete FLAC stream of one 16-bit channel into `samples` (replaced). The stream's
// sample-rate field and MD5 signature are not checked (writers leave them as dummies). False with
// `why` (a short phrase) when the stream does not decode, holds another channel count or sample
// size, or ends early.
bool DecodeFlacBlob(const std::uint8_t* data, std::size_t size, std::vector<std::int16_t>& samples,
                    std::string& why);

}  // namespace plexo
