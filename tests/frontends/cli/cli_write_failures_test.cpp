// Every command that cannot write its result says which file and why, exits with status 2 and
// leaves no part of the result behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/run_plexo.h"
#include "support/temp_dir.h"

namespace plexo {
namespace {

using testing::Exists;
using testing::RunPlexo;
using testing::TempDir;
using testing::WriteBytes;

const std::string kExamples = PLEXO_EXAMPLES_DIR;

// Each row: the command ({} is the folder), what blocks its result, the file named in the
// message with its reason, and a file of the same result that must not appear.
struct WriteFailure {
  const char* name;
  const char* command;
  const char* blocker;  // a folder made here (ends in "/") or a file
  const char* named;    // relative to the folder
  const char* reason;
  const char* not_there;  // relative to the folder; empty: nothing to check
};

class CliWriteFailure : public ::testing::TestWithParam<WriteFailure> {};

std::string Expand(std::string text, const std::string& folder) {
  for (size_t at; (at = text.find("{}")) != std::string::npos;) text.replace(at, 2, folder);
  return text;
}

TEST_P(CliWriteFailure, NamesTheFileAndTheReason) {
  const WriteFailure& c = GetParam();
  TempDir dir;
  std::filesystem::copy_file(kExamples + "/hit_001.txt", dir / "hit.txt");
  std::filesystem::copy_file(kExamples + "/hit_002.txt", dir / "hit2.txt");
  {
    // A flat transfer function of 2^3 bins, not a *.txt file of the folder.
    std::ofstream transfer(dir / "flat.tf");
    transfer << "title\n";
    for (int i = 0; i < 8; ++i) transfer << "1\t0\n";
  }
  const std::string blocker = c.blocker;
  if (blocker.back() == '/')
    std::filesystem::create_directories(dir / blocker.substr(0, blocker.size() - 1));
  else
    WriteBytes(dir / blocker, "in the way");

  const auto r =
      RunPlexo(Expand(c.command, dir.path()) + " --setup " + kExamples + "/demo-setup.ini");
  EXPECT_EQ(r.status, 2) << r.output;
  // A result folder that cannot be made is named with the reason of the mkdir.
  const std::string message = std::string(c.named).find('.') == std::string::npos
                                  ? "Folder " + dir / c.named + " cannot be created: "
                                  : "File " + dir / c.named + " could not be written: ";
  EXPECT_NE(r.output.find(message + c.reason + "!"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("File open NOT succesfull"), std::string::npos) << r.output;
  if (*c.not_there != '\0') {
    EXPECT_FALSE(Exists(dir / c.not_there)) << c.not_there;
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindOfResult, CliWriteFailure,
    ::testing::Values(
        WriteFailure{"SingleFft", "fft {}/hit.txt", "hit_fft.txt/", "hit_fft.txt", "Is a directory",
                     "hit_fft_preview.bmp"},
        WriteFailure{"SingleTft", "tft {}/hit.txt", "hit_wt.txt/", "hit_wt.txt", "Is a directory",
                     "hit_wt_preview.bmp"},
        WriteFailure{"SingleSpwvd", "tft {}/hit.txt --method spwvd", "hit_spvwd_preview.bmp/",
                     "hit_spvwd_preview.bmp", "Is a directory", "hit_spvwd.txt"},
        WriteFailure{"AverageFft", "avg-fft {}", "avgFFTData", "avgFFTData", "File exists", ""},
        WriteFailure{"AverageTft", "avg-tft {}", "avgWTData/average_signal_wt.txt/",
                     "avgWTData/average_signal_wt.txt", "Is a directory",
                     "avgWTData/average_signal.txt"},
        WriteFailure{"Convolution", "convolve {} --transfer {}/flat.tf --precision 3", "procData",
                     "procData", "File exists", ""},
        WriteFailure{"Features", "features {}", "FXData", "FXData/FX_Results.txt",
                     "Not a directory", ""},
        WriteFailure{"Accumulate", "ascii accumulate {}", "convData",
                     "convData/Accumulated_waveforms.txt", "Not a directory", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plexo
