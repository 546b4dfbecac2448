// The per-file rules of the Average FFT, as every way of running it applies them.
#include "spectral/average_fft_judge.h"

#include <gtest/gtest.h>

#include "spectral/fft.h"

namespace plexo {
namespace {

FileSpectrum Spectrum(int count, double dt) {
  FileSpectrum file;
  file.count = count;
  file.waveform.count = count;
  file.waveform.sampleInterval = dt;
  if (count > 0 && count <= MAX_SAMPLES) file.size = TransformSize(count);
  return file;
}

TEST(AverageFftJudge, AveragesNotesSkipsAndRefusesInFileOrder) {
  AverageFftJudge judge(/*strict=*/false);
  // Left out before any file is averaged: the next averaged file is the first.
  FileJudgement empty = judge.Judge("a.txt", Spectrum(0, 1e-7));
  EXPECT_EQ(empty.verdict, FileVerdict::kSkip);
  EXPECT_NE(empty.text.find("a.txt"), std::string::npos) << empty.text;
  EXPECT_EQ(judge.Judge("b.txt", Spectrum(1000, 1e-7)).verdict, FileVerdict::kAverage);
  const FileJudgement same = judge.Judge("c.txt", Spectrum(1000, 1e-7));
  EXPECT_EQ(same.verdict, FileVerdict::kAverage);
  EXPECT_EQ(same.text, "");
  const FileJudgement other = judge.Judge("d.txt", Spectrum(2000, 1e-7));
  EXPECT_EQ(other.verdict, FileVerdict::kAverage);
  EXPECT_EQ(other.text,
            "d.txt: 2000 samples at 1.000000e-007 s, the first file b.txt: 1000 samples at "
            "1.000000e-007 s; the spectra are averaged bin by bin all the same.");
  EXPECT_NE(judge.Judge("e.txt", Spectrum(1000, 2e-7)).text.find("the first file b.txt"),
            std::string::npos);
  FileSpectrum one = Spectrum(1, 1e-7);
  EXPECT_EQ(judge.Judge("f.txt", one).verdict, FileVerdict::kSkip);
  FileSpectrum overflowing = Spectrum(1000, 1e-7);
  overflowing.finite = false;
  EXPECT_EQ(judge.Judge("g.txt", overflowing).verdict, FileVerdict::kSkip);
  const FileJudgement long_file = judge.Judge("h.txt", Spectrum(MAX_SAMPLES + 1, 1e-7));
  EXPECT_EQ(long_file.verdict, FileVerdict::kRefuseRun);
  EXPECT_NE(long_file.text.find("h.txt"), std::string::npos) << long_file.text;
}

TEST(AverageFftJudge, StrictRefusesTheFirstFileLeftOut) {
  AverageFftJudge judge(/*strict=*/true);
  EXPECT_EQ(judge.Judge("b.txt", Spectrum(1000, 1e-7)).verdict, FileVerdict::kAverage);
  const FileJudgement empty = judge.Judge("a.txt", Spectrum(0, 1e-7));
  EXPECT_EQ(empty.verdict, FileVerdict::kRefuseRun);
  EXPECT_EQ(empty.text, AverageFftJudge(false).Judge("a.txt", Spectrum(0, 1e-7)).text);
}

// A share of the list compares with the first file of the whole list, not its own first.
TEST(AverageFftJudge, AShareComparesWithTheFirstFileOfTheList) {
  FileSpectrum first_file = Spectrum(2000, 1e-7);
  AverageFftJudge judge(false,
                        FirstAveragedFile{"a.txt", AverageFftGridText(first_file), 2000, 1e-7});
  EXPECT_NE(judge.Judge("k.txt", Spectrum(1000, 1e-7)).text.find("the first file a.txt"),
            std::string::npos);
  EXPECT_EQ(judge.Judge("a.txt", first_file).text, "");
  AverageFftJudge unknown(false, FirstAveragedFile{});
  EXPECT_EQ(unknown.Judge("k.txt", Spectrum(1000, 1e-7)).text, "");
  EXPECT_EQ(unknown.Judge("l.txt", Spectrum(2000, 1e-7)).text, "") << "no first file: no notes";
}

}  // namespace
}  // namespace plexo
