#pragma once
// The vector instructions of the fast kernels, chosen in one place. The build targets plain
// x86-64 (SSE2); where the processor has AVX2 or AVX-512 a kernel runs in a copy compiled for
// that target (PLEXO_TARGET_AVX2, PLEXO_TARGET_AVX512), chosen once at run time. Every lane is
// its own IEEE multiply, add or divide (no contraction into fused operations, no fast-math), so
// each copy gives the same bits: only the number of sums carried side by side changes.
#include <cstring>

namespace plexo::simd {

typedef double Double2 __attribute__((vector_size(16)));
typedef double Double4 __attribute__((vector_size(32)));
typedef double Double8 __attribute__((vector_size(64)));

// Two ways to reach vectors at any double's address, whatever its alignment; kernels keep the
// one they were tuned with (the compiler schedules the two differently).
//
// Load and Store copy a vector (by reference: a vector passed by value would depend on the
// target's calling convention).
template <typename V>
[[gnu::always_inline]] inline void Load(V& v, const double* p) {
  std::memcpy(&v, p, sizeof(V));
}
template <typename V>
[[gnu::always_inline]] inline void Store(double* p, const V& v) {
  std::memcpy(p, &v, sizeof(V));
}

// Unaligned<V> is V at alignment 8 that may alias double arrays, for loads and stores through a
// pointer: *reinterpret_cast<const Unaligned<V>*>(p).
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

// The instruction sets the kernels are built for, narrowest first.
enum class Isa { kSse2, kAvx2, kAvx512 };

// The widest one this processor runs (detected once).
Isa MachineIsa();
// Whether `isa` runs on this processor.
bool IsaSupported(Isa isa);
// "sse2", "avx2", "avx512f".
const char* IsaName(Isa isa);

#if defined(__x86_64__) || defined(__i386__)
#define PLEXO_TARGET_AVX2 __attribute__((target("avx2")))
#define PLEXO_TARGET_AVX512 __attribute__((target("avx512f")))
#else
#define PLEXO_TARGET_AVX2
#define PLEXO_TARGET_AVX512
#endif

}  // namespace plexo::simd
