#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: a release build and an
# AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
for kind in release sanitize; do
  echo "=== $kind build ==="
  bash scripts/build.sh "$kind"
  (cd "build/$kind" && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
     QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")
done
# A short fuzz run of every reader of outside text when clang is there (scripts/install-deps.sh
# installs it); longer runs: bash scripts/fuzz.sh SECONDS [targets].
if command -v clang++-14 >/dev/null 2>&1 || command -v clang++ >/dev/null 2>&1; then
  echo "=== fuzz ==="
  bash scripts/fuzz.sh "${PLEXO_FUZZ_SECONDS:-12}"
else
  echo "=== fuzz: skipped, no clang++ ==="
fi
