#!/usr/bin/env bash
# Installs what is missing, builds, and runs PLEXO++ on the bundled example waveforms.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh release
plexo=build/release/src/plexo
first=$(ls examples/*.txt | grep -v -E '_(fft|wt|spvwd)\.txt$' | head -n 1)
echo "=== Single FFT of $first ==="
"$plexo" fft "$first"
