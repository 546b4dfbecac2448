// The waveform readers on arbitrary bytes: no read outside a buffer; a file they accept holds
// finite header values, and every line from 9 on is one finite number with only blanks around
// it (blank lines at the very end excepted), checked here by strtod on each line.
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_input_file.h"
#include "signal/waveform_file.h"

namespace {

// The lines as the readers split them: at LF, one CR before it dropped.
std::vector<std::string> Lines(const uint8_t* data, size_t size) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      line.clear();
    } else {
      line.push_back(static_cast<char>(data[i]));
    }
  }
  if (!line.empty()) {
    if (line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool Blank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

bool WholeFiniteNumber(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t");
  const size_t last = line.find_last_not_of(" \t");
  if (first == std::string::npos) return false;
  const std::string number = line.substr(first, last - first + 1);
  char* end = nullptr;
  const double value = std::strtod(number.c_str(), &end);
  return end == number.c_str() + number.size() && std::isfinite(value);
}

// Every line from 9 on up to the trailing blank lines is a whole finite number.
void CheckSampleLines(const uint8_t* data, size_t size) {
  std::vector<std::string> lines = Lines(data, size);
  while (!lines.empty() && Blank(lines.back())) lines.pop_back();
  for (size_t i = 9; i < lines.size(); ++i) {
    if (!WholeFiniteNumber(lines[i])) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = plexo::fuzz::WriteInput(data, size);
  static plexo::Waveform wf;
  static plexo::RealWaveform real;
  static std::vector<double> basic;
  const int count = plexo::ReadWaveform(path, wf);
  const int real_count = plexo::ReadWaveformReal(path, real);
  if (count != real_count || wf.readProblem != real.readProblem) std::abort();
  for (int i = 0; i < count && i < plexo::MAX_SAMPLES; ++i) {
    if (!std::isfinite(wf.samples[i].re) || wf.samples[i].re != real.samples[i]) std::abort();
  }
  if (count >= 0) {
    if (!std::isfinite(wf.timeOfTest) || !std::isfinite(wf.sampleInterval)) std::abort();
    CheckSampleLines(data, size);
  }
  double dt = 0, tot = 0;
  int channel = 0;
  std::string problem;
  const int basic_count = plexo::ReadWaveformBasic(path, basic, dt, tot, channel, &problem);
  if (basic_count >= 0) {
    if (!std::isfinite(dt) || !std::isfinite(tot)) std::abort();
    CheckSampleLines(data, size);
    for (int i = 0; i < basic_count && i < plexo::MAX_SAMPLES; ++i) {
      if (!std::isfinite(basic[i])) std::abort();
    }
  }
  return 0;
}
