#!/usr/bin/env bash
# Configures and builds PLEXO++. Usage: scripts/build.sh [release|sanitize] [extra cmake args]
#   release   -> build/release   (optimised, the program and the tests)
#   sanitize  -> build/sanitize  (ASan + UBSan, the same tests)
set -euo pipefail
cd "$(dirname "$0")/.."
kind="${1:-release}"
shift || true
case "$kind" in
  release) dir=build/release; args=(-DCMAKE_BUILD_TYPE=Release) ;;
  sanitize) dir=build/sanitize; args=(-DCMAKE_BUILD_TYPE=Debug -DPLEXO_SANITIZE=ON) ;;
  *) echo "usage: $0 [release|sanitize] [cmake args...]" >&2; exit 2 ;;
esac
# plexo-mpi (features and avg-fft over MPI ranks) and its tests, where Open MPI is installed.
if command -v mpicc >/dev/null 2>&1; then args+=(-DPLEXO_WITH_MPI=ON); fi
# ccache, when installed, lets several checkouts share compiled objects.
if command -v ccache >/dev/null 2>&1; then
  args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
fi
cmake -S . -B "$dir" "${args[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
