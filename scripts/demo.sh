#!/usr/bin/env bash
# Installs what is missing, builds, and runs PLEXO++ on the bundled example waveforms.
# The examples are copied to build/demo first, so that the results of one calculation (which
# are *.txt files too) never become inputs of a folder calculation, and examples/ stays clean.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh release
plexo="$PWD/build/release/src/plexo"
demo=build/demo
rm -rf "$demo"
mkdir -p "$demo/folder" "$demo/single"
cp examples/hit_[0-9][0-9][0-9].txt "$demo/folder/"
cp examples/hit_003.txt "$demo/single/"
# The bundled examples' settings: 0 .. 400 us window, 10 kHz .. 1 MHz, no personal Setup.ini.
setup="--setup examples/demo-setup.ini"

echo "=== Single FFT of hit_003.txt ==="
"$plexo" fft "$demo/single/hit_003.txt" $setup
echo "=== Single TFT (wavelet transform) of hit_003.txt ==="
"$plexo" tft "$demo/single/hit_003.txt" --method cwt $setup
echo "=== Single TFT (Wigner-Ville distribution) of hit_003.txt ==="
"$plexo" tft "$demo/single/hit_003.txt" --method spwvd $setup
echo "=== Average FFT of the example folder ==="
"$plexo" avg-fft "$demo/folder" $setup
if "$plexo" --help | grep -q 'avg-tft'; then
  echo "=== Average TFT of the example folder ==="
  "$plexo" avg-tft "$demo/folder" $setup
fi
echo "=== Feature extraction of the example folder (all 25 columns, AIC onset picks, with file names) ==="
"$plexo" features "$demo/folder" --all --aic --with-file-names  # --aic: the window and arrival time from the onset pick
echo "--- first lines of $demo/folder/FXData/FX_Results.txt (first 8 columns) ---"
head -n 5 "$demo/folder/FXData/FX_Results.txt" | cut -f 1-8 | tr -d '\r'
echo
echo "Results are in $demo/single and $demo/folder (avgFFTData, avgWTData, FXData)."
