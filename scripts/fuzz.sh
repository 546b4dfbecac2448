#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang, ASan and UBSan into build/fuzz and runs each
# for a while. Usage: scripts/fuzz.sh [SECONDS per target, default 25] [target names...]
# A crash, a sanitizer report or a target's own check stops the run with a non-zero status; the
# input that did it is kept in build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-25}"
shift || true
cxx="$(command -v clang++-14 || command -v clang++ || true)"
if [ -z "$cxx" ]; then
  echo "fuzz: no clang++ found; the fuzz targets need clang (libFuzzer)" >&2
  exit 1
fi
args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLEXO_BUILD_FUZZ=ON -DPLEXO_SANITIZE=ON
      -DPLEXO_BUILD_TESTS=OFF -DPLEXO_BUILD_QT=OFF -DCMAKE_CXX_COMPILER="$cxx")
if command -v ccache >/dev/null 2>&1; then
  args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
fi
cmake -S . -B build/fuzz "${args[@]}" >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
cmake --build build/fuzz -j "$(nproc)" --target "${targets[@]}"
mkdir -p build/fuzz/findings
for target in "${targets[@]}"; do
  echo "=== fuzz $target: ${seconds} s ==="
  corpus="build/fuzz/corpus/$target"
  mkdir -p "$corpus"
  # The example recordings are good seeds for every reader of waveform-like text.
  seeds=(examples)
  log="build/fuzz/$target.log"
  status=0
  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "build/fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
    -artifact_prefix="build/fuzz/findings/$target-" "$corpus" "${seeds[@]}" >"$log" 2>&1 ||
    status=$?
  grep -E '^Done [0-9]+ runs' "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$log" >&2
    echo "fuzz: $target failed (status $status); the input is in build/fuzz/findings/" >&2
    exit 1
  fi
done
echo "fuzz: ${#targets[@]} targets ran ${seconds} s each without a finding"
