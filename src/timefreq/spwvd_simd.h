#pragma once
// Vector registers for the distribution's inner loops. The build targets plain x86-64 (SSE2);
// where the processor has AVX2 or AVX-512 the loops run in copies compiled for those. Every lane
// is its own IEEE multiply, add or divide (no contraction into fused operations), so each copy
// gives the same bits: only the number of sums carried side by side changes.

namespace plexo::spwvd_simd {

typedef double Double2 __attribute__((vector_size(16)));
typedef double Double4 __attribute__((vector_size(32)));
typedef double Double8 __attribute__((vector_size(64)));

// The same vectors at any double's address (alignment 8, aliasing double arrays), for loads and
// stores: *reinterpret_cast<const Unaligned<V>*>(p).
typedef double Double2Unaligned __attribute__((vector_size(16), aligned(8), may_alias));
typedef double Double4Unaligned __attribute__((vector_size(32), aligned(8), may_alias));
typedef double Double8Unaligned __attribute__((vector_size(64), aligned(8), may_alias));
template <typename V>
struct UnalignedOf;
template <>
struct UnalignedOf<Double2> {
  using type = Double2Unaligned;
};
template <>
struct UnalignedOf<Double4> {
  using type = Double4Unaligned;
};
template <>
struct UnalignedOf<Double8> {
  using type = Double8Unaligned;
};
template <typename V>
using Unaligned = typename UnalignedOf<V>::type;

enum class Isa { kSse2, kAvx2, kAvx512 };

// The widest of the three that this processor runs.
inline Isa DetectIsa() {
#if defined(__x86_64__) || defined(__i386__)
  if (__builtin_cpu_supports("avx512f")) return Isa::kAvx512;
  if (__builtin_cpu_supports("avx2")) return Isa::kAvx2;
#endif
  return Isa::kSse2;
}

#if defined(__x86_64__) || defined(__i386__)
#define PLEXO_TARGET_AVX2 __attribute__((target("avx2")))
#define PLEXO_TARGET_AVX512 __attribute__((target("avx512f")))
#else
#define PLEXO_TARGET_AVX2
#define PLEXO_TARGET_AVX512
#endif

}  // namespace plexo::spwvd_simd
