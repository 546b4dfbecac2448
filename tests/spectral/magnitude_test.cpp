#include "spectral/magnitude.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace plexo {
namespace {

uint64_t Bits(double value) { return std::bit_cast<uint64_t>(value); }

void ExpectLibraryBits(const std::vector<Complex>& x) {
  std::vector<double> got(x.size() + 1, -1.0);
  Magnitudes(x.data(), static_cast<int>(x.size()), got.data());
  for (size_t i = 0; i < x.size(); ++i) {
    const double expected = std::hypot(x[i].re, x[i].im);
    if (std::isnan(expected)) {
      ASSERT_TRUE(std::isnan(got[i])) << i;
    } else {
      ASSERT_EQ(Bits(got[i]), Bits(expected)) << "hypot(" << x[i].re << ", " << x[i].im << ")";
    }
  }
  EXPECT_EQ(got[x.size()], -1.0) << "wrote past the end";
}

#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 35))
// The library's hypot here does what the bulk paths do: they must pass their check on startup.
TEST(Magnitudes, TheFastestPathIsUsedWithThisCLibrary) {
  EXPECT_STREQ(MagnitudesPathName(), __builtin_cpu_supports("avx2") ? "avx2" : "scalar");
}
#endif

// Millions of bins of the kinds spectra hold and of every other kind, in runs of every length
// (the four-bin steps and the tail), against std::hypot one by one.
TEST(Magnitudes, GiveTheBitsOfHypot) {
  std::mt19937_64 random(8122026);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  auto scaled = [&](int spread) {
    return unit(random) * std::ldexp(1.0, static_cast<int>(random() % (2 * spread)) - spread);
  };
  for (int run = 0; run < 200; ++run) {
    std::vector<Complex> x(static_cast<size_t>(run * 97 + run % 7));
    for (size_t i = 0; i < x.size(); ++i) {
      const double a = scaled(30);
      switch ((i + run) % 8) {
        case 0:
          x[i] = {a, scaled(30)};
          break;
        case 1:
          x[i] = {a, a * (1.0 + unit(random) * 1e-6)};
          break;  // nearly equal parts
        case 2:
          x[i] = {a, -a};
          break;
        case 3:
          x[i] = {a, a * unit(random) * 1e-10};
          break;  // one part far smaller
        case 4:
          x[i] = {a, 0.0};
          break;
        case 5:
          x[i] = {scaled(700), scaled(700)};
          break;  // huge and tiny
        case 6:
          x[i] = {std::bit_cast<double>(random()), std::bit_cast<double>(random())};
          break;
        default:
          x[i] = {a * 0x1p-200, a * unit(random) * 0x1p-260};
          break;
      }
    }
    ExpectLibraryBits(x);
  }
  ExpectLibraryBits({{INFINITY, NAN}, {NAN, 1.0}, {-INFINITY, 2.0}, {0.0, -0.0}, {3.0, 4.0}});
}

}  // namespace
}  // namespace plexo
