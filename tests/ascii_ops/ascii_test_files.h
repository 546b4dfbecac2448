#pragma once
// Input files for the ASCII-operator tests, written as plain text here rather than by the
// program's own writers.
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace plexo::testing {

// A waveform file in the acquisition layout: nine header lines, then one sample per line.
inline void WriteWave(const std::string& path, const std::string& interval, int channel,
                      const std::string& timeOfTest, const std::vector<std::string>& samples) {
  std::string text = "SOURCE FILE NAME: x\r\nDATE:\t1.1.2020\r\nTIME:\t10:00\r\n";
  text += "SAMPLE INTERVAL (Seconds):   " + interval + "\r\n";
  text += "UNITS:\tV\r\nCHANNEL NUMBER:\t" + std::to_string(channel) + "\r\nHIT NUMBER: 1\r\n";
  text += "TIME OF TEST:\t" + timeOfTest + "\r\n\r\n";
  for (const std::string& sample : samples) text += sample + "\r\n";
  WriteBytes(path, text);
}

// "\n" line ends as CR LF, the way the program writes its files.
inline std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace plexo::testing
