#pragma once
// The Single FFT: one waveform file -> its unscaled spectrum as an FFT file beside the input,
// with a preview of the magnitude spectrum shown and saved as a BMP.
#include <string>
#include <vector>

#include "platform/host.h"
#include "signal/waveform.h"

namespace plexo {

// The buffers a Single FFT keeps between runs (the spectrum buffer is zeroed once and then only
// overwritten where a run reads or pads).
struct SingleFftWorkspace {
  Waveform waveform;
  std::vector<double> frequencies;
  bool writePreview = true;  // false: the FFT file only (the preview is still shown)
  // The most samples the file may have (--max-samples); waveform.limit follows it.
  int maxSamples = MAX_SAMPLES;
};

// Output names for input path P: P without its extension + "_fft" + the lower-case extension,
// and P without its extension + "_fft_preview.bmp".
std::string FftFilePath(const std::string& input);
std::string FftPreviewPath(const std::string& input);

// The spectrum of a waveform read with `count` samples (1 .. its limit) and a positive sample
// interval: wf.samples is padded with zeros to the next power of two N and transformed in place
// (unscaled), `frequencies` gets the N/2 + 1 bin frequencies k / (N dt). Returns N/2, the number
// of bins the FFT file lists.
int SingleSpectrum(Waveform& wf, int count, std::vector<double>& frequencies);

// Runs the calculation for one file. The window index is accepted and not used: the time gate
// belongs to the Average FFT. A file without a usable sample interval is refused by a message
// naming it. Messages go to the host; the preview is shown (and the call waits for the host to
// return) before the files are written.
CalcStatus SingleFFT(SingleFftWorkspace& workspace, const std::string& path, int windowIndex,
                     Host& host);

}  // namespace plexo
