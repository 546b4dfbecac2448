// The decoder reads from the blob through callbacks; libFLAC then hands over each frame.
#include "signal/flac_blob.h"

#include <FLAC/stream_decoder.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace plexo {
namespace {

struct BlobStream {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t offset = 0;
  std::vector<std::int16_t>* samples;
  std::string problem;
};

FLAC__StreamDecoderReadStatus ReadBlob(const FLAC__StreamDecoder*, FLAC__byte buffer[],
                                       std::size_t* bytes, void* client) {
  auto& s = *static_cast<BlobStream*>(client);
  if (s.offset >= s.size) {
    *bytes = 0;
    return FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM;
  }
  const std::size_t n = std::min(*bytes, s.size - s.offset);
  std::memcpy(buffer, s.data + s.offset, n);
  s.offset += n;
  *bytes = n;
  return FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
}

FLAC__StreamDecoderWriteStatus WriteFrame(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                          const FLAC__int32* const buffer[], void* client) {
  auto& s = *static_cast<BlobStream*>(client);
  if (frame->header.channels != 1 || frame->header.bits_per_sample != 16) {
    s.problem = "a FLAC stream of " + std::to_string(frame->header.channels) + " channel(s) and " +
                std::to_string(frame->header.bits_per_sample) +
                "-bit samples (one 16-bit channel expected)";
    return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
  }
  const FLAC__int32* values = buffer[0];
  for (unsigned i = 0; i < frame->header.blocksize; ++i) {
    s.samples->push_back(static_cast<std::int16_t>(values[i]));
  }
  return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void NoteError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus status, void* client) {
  auto& s = *static_cast<BlobStream*>(client);
  if (s.problem.empty()) {
    s.problem =
        std::string("a damaged FLAC stream (") + FLAC__StreamDecoderErrorStatusString[status] + ")";
  }
}

struct DecoderDeleter {
  void operator()(FLAC__StreamDecoder* d) const { FLAC__stream_decoder_delete(d); }
};

}  // namespace

bool DecodeFlacBlob(const std::uint8_t* data, std::size_t size, std::vector<std::int16_t>& samples,
                    std::string& why) {
  samples.clear();
  std::unique_ptr<FLAC__StreamDecoder, DecoderDeleter> decoder(FLAC__stream_decoder_new());
  if (!decoder) {
    why = "no memory for a FLAC decoder";
    return false;
  }
  FLAC__stream_decoder_set_md5_checking(decoder.get(), false);
  BlobStream stream{data, size, 0, &samples, {}};
  if (FLAC__stream_decoder_init_stream(decoder.get(), ReadBlob, nullptr, nullptr, nullptr, nullptr,
                                       WriteFrame, nullptr, NoteError,
                                       &stream) != FLAC__STREAM_DECODER_INIT_STATUS_OK) {
    why = "a FLAC decoder that cannot start";
    return false;
  }
  const bool decoded = FLAC__stream_decoder_process_until_end_of_stream(decoder.get());
  const FLAC__StreamDecoderState state = FLAC__stream_decoder_get_state(decoder.get());
  FLAC__stream_decoder_finish(decoder.get());
  if (!stream.problem.empty()) {
    why = stream.problem;
    return false;
  }
  if (!decoded || state != FLAC__STREAM_DECODER_END_OF_STREAM) {
    why = std::string("a FLAC stream that does not decode (") +
          FLAC__StreamDecoderStateString[state] + ")";
    return false;
  }
  return true;
}

}  // namespace plexo
