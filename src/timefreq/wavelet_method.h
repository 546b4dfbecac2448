#pragma once
// How the wavelet transform's rows are computed: the direct sum in tap order (the default,
// whose bits every earlier result has), or a fast convolution through discrete Fourier
// transforms (about ten times faster for long wavelets; each coefficient within 1e-12 of its
// row's largest modulus of the direct sum, so a printed table may differ in its last digit).
#include <optional>
#include <string_view>

namespace plexo {

enum class WaveletMethod { kDirect, kFft };

// "direct" and "fft": the names the command line and the setup file use.
constexpr std::string_view WaveletMethodName(WaveletMethod method) {
  return method == WaveletMethod::kFft ? "fft" : "direct";
}
constexpr std::optional<WaveletMethod> WaveletMethodNamed(std::string_view name) {
  if (name == "direct") return WaveletMethod::kDirect;
  if (name == "fft") return WaveletMethod::kFft;
  return std::nullopt;
}

}  // namespace plexo
