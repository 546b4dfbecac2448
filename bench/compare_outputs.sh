#!/usr/bin/env bash
# Runs two plexo binaries on the same inputs and compares every file they write, byte for byte,
# and the exit status of every run. Used to check that a change keeps every output.
# Usage: bench/compare_outputs.sh OLD_PLEXO NEW_PLEXO
#
# The inputs: the bundled examples, a generated folder (48 waveforms of other lengths, sample
# intervals and headers, a stray README.txt, a file with blanks in its name, one without "TIME OF
# TEST"), a generated transfer function, three import inputs and, when ../shared/realdata is
# there, the real location listings and exports. Every command runs, most with several option
# sets; the output folders are listed in the order the runs made them.
set -euo pipefail
cd "$(dirname "$0")/.."
old="$(realpath "$1")"
new="$(realpath "$2")"
realdata="${PLEXO_REALDATA_DIR:-$(realpath -m ../shared/realdata)}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
setup="--setup $PWD/examples/demo-setup.ini"

# A waveform file: name, samples, sample interval, tone in Hz, decay in samples, channel, and
# whether the TIME OF TEST line is there.
make_waveform() {
  awk -v n="$2" -v dt="$3" -v f="$4" -v tau="$5" -v ch="$6" -v tot="$7" -v seed="$8" 'BEGIN {
    printf "SOURCE FILE NAME: -/-\r\nDATE:\t08.12.2026\r\nTIME:\t09:30:00\r\n"
    printf "SAMPLE INTERVAL (Seconds):   %.6e\r\nUNITS:\tvolts\r\nCHANNEL NUMBER:\t%d\r\n", dt, ch
    printf "HIT NUMBER: -/-\r\n"
    if (tot) printf "TIME OF TEST:\t%.6e\r\n", 10 + seed * 0.37; else printf "REMARK:\tnone\r\n"
    printf "\r\n"
    srand(seed)
    onset = int(n / 5)
    for (i = 0; i < n; i++) {
      v = (rand() - 0.5) * 0.002
      if (i >= onset) v += 0.8 * exp(-(i - onset) / tau) * sin(2 * 3.14159265358979 * f * (i - onset) * dt)
      printf "%.6f\r\n", v
    }
  }' > "$1"
}

make_inputs() {
  local d="$1"
  mkdir -p "$d/folder" "$d/single" "$d/gen" "$d/import/in" "$d/link" "$d/split" "$d/listings"
  cp examples/hit_[0-9][0-9][0-9].txt "$d/folder/"
  cp examples/hit_00[1-3].txt "$d/single/"
  local i
  for i in $(seq 1 48); do
    local n=$((1500 + (i * 397) % 6000)) dt=1e-7 tot=1
    [ $((i % 7)) -eq 0 ] && dt=2e-7
    [ $((i % 11)) -eq 0 ] && tot=0
    make_waveform "$d/gen/w$(printf %03d "$i").txt" "$n" "$dt" $((80000 + i * 15000)) \
      $((100 + i * 13)) $((1 + i % 4)) "$tot" "$i"
  done
  make_waveform "$d/gen/odd name, with blanks.txt" 3000 1e-7 250000 300 2 1 99
  printf 'Notes on this test.\r\nNothing to read here.\r\n' > "$d/gen/README.txt"
  # A transfer function of 2^12 bins: a gentle low-pass with a phase turn, no zero bin.
  awk 'BEGIN { printf "transfer function\r\n"; for (k = 0; k < 4096; k++)
    printf "%.9e\t%.9e\r\n", 1 / (1 + k / 400.0), -0.3 * sin(k / 700.0) }' > "$d/transfer.txt"
  # Import inputs: a nine-line file, a headerless column and a twelve-line CSV export.
  cp examples/hit_004.txt "$d/import/in/nine_line.txt"
  awk 'BEGIN { for (i = 0; i < 900; i++) printf "%.5f\n", sin(i / 9.0) * 0.01 }' \
    > "$d/import/in/T1_2_33_4500000.txt"
  {
    printf 'Export\r\nRecord 1\r\nChannel 1\r\nRate 10 MHz\r\nSamples 600\r\nUnits V\r\n'
    printf 'x\r\ny\r\nz\r\n\r\ntime,volts\r\n'
    awk 'BEGIN { for (i = 0; i < 600; i++) printf "%.7e,%.6f\r\n", i * 1e-7, cos(i / 13.0) * 0.02 }'
  } > "$d/import/in/export.csv"
  # Event linking: channels 1..3 of events 1 and 2.
  local ev ch
  for ev in 1 2; do
    for ch in 1 2 3; do
      make_waveform "$d/link/hit${ch}_${ev}.txt" 1200 1e-7 $((150000 * ch)) 200 "$ch" 1 \
        $((ev * 10 + ch))
    done
  done
  # A delimited table to split.
  awk 'BEGIN { for (i = 0; i < 300; i++) printf "%.4f\t%.4f\t%.4f\r\n", i * 0.1, sin(i / 5.0), cos(i / 7.0) }' \
    > "$d/split/table.txt"
  if [ -d "$realdata" ]; then
    cp "$realdata"/aewin594-location-express8/*.TXT "$d/listings/" 2>/dev/null || true
    cp "$realdata"/visualae-listing-c103/*.txt "$d/listings/" 2>/dev/null || true
    cp "$realdata"/aewin594-csv-express8/*.csv "$d/import/in/" 2>/dev/null || true
  fi
}

# Runs BIN on the inputs under DIR; every run's exit status goes into DIR/exit_statuses.txt.
run_all() {
  local bin="$1" d="$2"
  local log="$d/exit_statuses.txt"
  run() {
    local status=0
    (cd "$d" && "$bin" "$@" >/dev/null 2>&1) || status=$?
    printf '%s\t%s\n' "$status" "$*" >> "$log"
  }
  # A fresh copy of an input folder for a run that writes into it.
  dup() { cp -r "$d/$1" "$d/$2"; }
  run fft single/hit_001.txt single/hit_002.txt single/hit_003.txt $setup
  run tft single/hit_001.txt --method cwt $setup
  run tft single/hit_002.txt --method cwt --complex $setup
  run tft single/hit_003.txt --method cwt --auto-freq-res $setup
  run tft single/hit_001.txt single/hit_002.txt --method spwvd $setup
  run tft single/hit_003.txt --method spwvd --auto-freq-res --subsampling 2 $setup
  run avg-fft folder $setup
  dup folder folder_gate
  run avg-fft folder_gate --window 200us $setup
  run avg-fft gen $setup
  run avg-tft folder --method cwt $setup
  dup folder folder_spwvd
  run avg-tft folder_spwvd --method spwvd $setup
  dup folder folder_align
  run avg-tft folder_align --method cwt --align --threshold 0.05 --complex $setup
  dup gen gen_conv_single
  run convolve gen_conv_single --transfer transfer.txt --precision 12 --output single $setup
  dup gen gen_conv_columns
  run convolve gen_conv_columns --transfer transfer.txt --precision 12 --output columns $setup
  dup folder folder_deconv
  run deconvolve folder_deconv --transfer transfer.txt --precision 12 --output single $setup
  run features folder $setup
  dup gen gen_all
  run features gen_all --all --with-file-names $setup
  dup gen gen_aic
  run features gen_aic --aic --duration 150e-6 --columns arrival-time,amplitude,mm,tf-power-1 $setup
  dup folder folder_bands
  run features folder_bands --band 7:100e3:200e3 --band 1:0:50e3 --columns partial-power-1,partial-power-7,centroid $setup
  run view single/hit_001.txt --out view_waveform.png
  run view single/hit_001_fft.txt --out view_fft.bmp
  run view single/hit_002_wt.txt --out view_tft.png
  run view folder/avgFFTData/average_FFT.txt --out view_avg_fft.png
  run import import/in --to import/out --dt 1e-7
  dup gen ascii_accumulate
  run ascii accumulate ascii_accumulate
  dup folder ascii_columns
  run ascii columns ascii_columns
  run ascii link link
  run ascii split split
  local f
  for f in "$d"/listings/*; do
    [ -e "$f" ] || continue
    case "$f" in
      *.TXT) run locations aewin "listings/$(basename "$f")" ;;
      *) run locations visualae "listings/$(basename "$f")" ;;
    esac
  done
}

for side in old new; do
  make_inputs "$work/$side"
  run_all "${!side}" "$work/$side"
done
count=$(cd "$work/old" && find . -type f | wc -l)
if diff -r "$work/old" "$work/new"; then
  echo "identical: $count files (the exit statuses of $(wc -l < "$work/old/exit_statuses.txt") runs among them)"
else
  echo "outputs differ" >&2
  exit 1
fi
