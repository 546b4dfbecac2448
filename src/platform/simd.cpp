#include "platform/simd.h"

namespace plexo::simd {
namespace {

Isa DetectIsa() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f")) return Isa::kAvx512;
  if (__builtin_cpu_supports("avx2")) return Isa::kAvx2;
#endif
  return Isa::kSse2;
}

}  // namespace

Isa MachineIsa() {
  static const Isa isa = DetectIsa();
  return isa;
}

bool IsaSupported(Isa isa) { return static_cast<int>(isa) <= static_cast<int>(MachineIsa()); }

const char* IsaName(Isa isa) {
  switch (isa) {
    case Isa::kAvx512:
      return "avx512f";
    case Isa::kAvx2:
      return "avx2";
    case Isa::kSse2:
      break;
  }
  return "sse2";
}

}  // namespace plexo::simd
