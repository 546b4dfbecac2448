#!/usr/bin/env bash
# Runs two plexo binaries on the same copies of the example waveforms (and any extra files
# given) and compares every file they write, byte for byte. Used to check that a change keeps
# every output. Usage: bench/compare_outputs.sh OLD_PLEXO NEW_PLEXO
set -euo pipefail
cd "$(dirname "$0")/.."
old="$1"
new="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
setup="--setup examples/demo-setup.ini"
for side in old new; do
  mkdir -p "$work/$side/folder" "$work/$side/single"
  cp examples/hit_[0-9][0-9][0-9].txt "$work/$side/folder/"
  cp examples/hit_00[1-3].txt "$work/$side/single/"
  bin="${!side}"
  for f in "$work/$side"/single/hit_00[1-3].txt; do
    "$bin" fft "$f" $setup >/dev/null
    "$bin" tft "$f" --method cwt $setup >/dev/null 2>&1
    "$bin" tft "$f" --method spwvd $setup >/dev/null 2>&1
  done
  "$bin" avg-fft "$work/$side/folder" $setup >/dev/null 2>&1
  "$bin" avg-fft "$work/$side/folder" --window 1 $setup >/dev/null 2>&1 || true
  "$bin" avg-tft "$work/$side/folder" $setup >/dev/null 2>&1
done
count=$(cd "$work/old" && find . -type f | wc -l)
if diff -r "$work/old" "$work/new"; then
  echo "identical: $count files"
else
  echo "outputs differ" >&2
  exit 1
fi
