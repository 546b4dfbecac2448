#!/usr/bin/env bash
# Installs what is missing, builds, and runs PLEXO++ on the bundled example waveforms.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh release
plexo=build/release/src/plexo
example=examples/hit_003.txt
echo "=== Single FFT of $example ==="
"$plexo" fft "$example"
