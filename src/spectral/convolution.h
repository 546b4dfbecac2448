#pragma once
// Convolution and deconvolution of every waveform file of a folder with a measured transfer
// function: each waveform is transformed (2^p points), multiplied or divided bin by bin, and
// transformed back; the results go to F/procData, one waveform file per input under the input's
// name, or all together as columns in F/procData/DuvidiWaveforms.txt.
#include <string>
#include <vector>

#include "platform/file_notes.h"
#include "platform/host.h"
#include "signal/complex.h"
#include "signal/waveform.h"
#include "spectral/convolution_columns.h"

namespace plexo {

enum class TransferOperation { kConvolution = 0, kDeconvolution = 1 };

// Where the results of a run go.
enum class ConvolutionOutput {
  kWaveformFiles,  // one waveform file per input
  kColumnsFile,    // every result as a column of one file
};

// The largest FFT precision p of the default sample limit: 2^14 = MAX_SAMPLES points.
inline constexpr int kMaxFftPrecision = 14;
// The largest p a run with the sample limit `maxSamples` allows: the exponent of the transform
// that holds such a record (SampleRoom), 14 for the default limit, 20 for 2^20 samples.
int MaxFftPrecision(int maxSamples);

// The buffers kept between runs: T (entry k holds bin k - 1), the work buffer X and the output
// samples. T and X are only overwritten where a run reads and pads.
struct ConvolutionWorkspace {
  std::vector<Complex> transfer;
  Waveform waveform;
  std::vector<double> output;
  WaveformColumns columns;

  // What the last run did: waveforms processed, waveform files written, inputs without data.
  int processed = 0;
  int written = 0;
  int skipped = 0;
  FileNotes notes;  // the inputs left out, each with its reason (WaveformSkipReason)

  // A setting of the run: the first input left out stops it (message naming it, nothing
  // written) instead of being named and skipped.
  bool strict = false;
  // The most samples an input may have (--max-samples); it also bounds the precision
  // (MaxFftPrecision). The buffers grow only to what the run's transform and records need.
  int maxSamples = MAX_SAMPLES;
};

std::string ProcessedFolder(const std::string& folder);  // F/procData
std::string ColumnsFilePath(const std::string& folder);  // F/procData/DuvidiWaveforms.txt
// F/procData/<file name of input>
std::string ProcessedFilePath(const std::string& folder, const std::string& input);

// "FFT-precision of <p> is outside the program limits of 0 and <largest>!", with a hint naming
// --max-samples for a precision above a limit that the option could raise.
std::string FftPrecisionLimitMessage(int precision, int largest);

// "Transfer-Function sampling size (<L>) is not equal to FFT-precision (<N as %e>)! ..."
std::string TransferSizeMessage(int lines, double points);

// kColumnsFile writes the columns file (and shows its path, or that it could not be written, or
// that the folder was not found); kWaveformFiles writes one waveform file per input. The transform
// covers N = 2^fftPrecision points: shorter waveforms are zero-padded and written back with their
// own length; of a longer one (at most ws.maxSamples) only the first N samples are transformed and
// the samples from N on are written as 0.
//
// kRefused: p outside 0 .. MaxFftPrecision(ws.maxSamples) (14 by default), a transfer function of
// other than N bins (message; nothing created), a folder that does not exist or cannot be listed
// (message with the system's reason), no waveform processed, with ws.strict an input left out
// (message naming it, nothing written), or a waveform of more than ws.maxSamples samples (message
// naming it; the run ends, the outputs of the waveforms before it are put in place). kFailed also
// when procData cannot be made. kFailed: an output file could not be written (message naming it and
// the reason; the run goes on, but none of its waveform files replaces an earlier one: they are put
// in place together when the run ends). Inputs the reader refuses (unreadable, no samples, a sample
// that is not a finite number, no usable sample interval) are skipped and named in one message when
// the run ends. Every output carries the header of its own input.
CalcStatus ApplyTransferFunction(ConvolutionWorkspace& workspace, const std::string& folder,
                                 int fftPrecision, const std::string& transferPath,
                                 TransferOperation operation, ConvolutionOutput output,
                                 CalcProgress& progress, Host& host);

}  // namespace plexo
