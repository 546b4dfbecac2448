#!/usr/bin/env bash
# Hostile cases for the results plexo writes: a folder it may not write, a target it cannot
# replace, a full disk, and SIGTERM / SIGINT / kill -9 at random moments while Average FFT and
# Single TFT write. Each case checks the exit status, the message, that the earlier results are
# intact byte for byte or the new ones complete (table and preview of the same run), and that
# no temporary file is left.
# Usage: output_cases.sh PLEXO EXAMPLES_DIR [TRIES]. Cases that need root, a tmpfs mount or
# setpriv are skipped where those are missing.
set -uo pipefail
plexo="$1"
examples="$2"
tries="${3:-6}"
setup="$examples/demo-setup.ini"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
skip() { echo "skipped: $*"; }

# Everything in a folder but the inputs and the results named: nothing else may be left.
leftovers() { find "$1" -name '*.tmp*' | sort; }
same() { cmp -s "$1" "$2"; }

# --- A folder that may not be written: plexo tft and plexo fft name the file and the reason.
# Root may write anywhere, so as root the program runs as nobody.
as_user=()
if [ "$(id -u)" = 0 ]; then
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  # A container may not let root change its user.
  command -v setpriv >/dev/null 2>&1 && "${as_user[@]}" true 2>/dev/null || as_user=(none)
fi
if [ "${as_user[0]:-}" = none ]; then
  skip "read-only folder (root that cannot run as another user)"
else
  ro="$work/readonly"
  mkdir "$ro"
  cp "$examples/hit_001.txt" "$ro/"
  chmod 555 "$ro"
  chmod 644 "$ro/hit_001.txt"
  for command in tft fft; do
    out="$("${as_user[@]}" "$plexo" "$command" "$ro/hit_001.txt" --setup "$setup" 2>"$work/err")"
    status=$?
    [ "$status" = 2 ] || fail "$command into a read-only folder: exit status $status, not 2"
    grep -q "^plexo: File $ro/hit_001_[a-z]*[._].* could not be written: Permission denied!$" \
      "$work/err" || fail "$command into a read-only folder: no message naming file and reason:" \
      "$(cat "$work/err")"
    [ "$(ls "$ro")" = hit_001.txt ] || fail "$command into a read-only folder left $(ls "$ro")"
    grep -q "^plexo: File open NOT succesfull$" "$work/err" ||
      fail "$command into a read-only folder: stderr lost its File open line"
    [ -z "$out" ] || fail "$command into a read-only folder: stdout is not empty: $out"
  done
  pass "read-only output folder"
fi

# --- A target that cannot be replaced (a folder where the table belongs): the earlier preview
# stays too, and the message names the table.
un="$work/unwritable"
mkdir "$un"
cp "$examples/hit_002.txt" "$un/hit_001.txt"
"$plexo" fft "$un/hit_001.txt" --setup "$setup" >/dev/null 2>&1 || fail "first fft run"
cp "$un/hit_001_fft_preview.bmp" "$work/old_preview.bmp"
rm "$un/hit_001_fft.txt"
mkdir "$un/hit_001_fft.txt"
cp "$examples/hit_001.txt" "$un/hit_001.txt"
"$plexo" fft "$un/hit_001.txt" --setup "$setup" >/dev/null 2>"$work/err"
status=$?
[ "$status" = 2 ] || fail "fft onto a folder: exit status $status, not 2"
grep -qx "plexo: File $un/hit_001_fft.txt could not be written: Is a directory!" "$work/err" ||
  fail "fft onto a folder: message was: $(cat "$work/err")"
same "$un/hit_001_fft_preview.bmp" "$work/old_preview.bmp" ||
  fail "fft onto a folder replaced the preview of the earlier run"
[ -z "$(leftovers "$un")" ] || fail "fft onto a folder left $(leftovers "$un")"
pass "unwritable target"

# --- Reference results: the old ones from hit_002's samples, the new ones from hit_001's, under
# the same names (the results do not hold their paths).
make_avg_folder() { # folder, example files...
  local folder="$1"
  shift
  mkdir -p "$folder"
  local i=1
  for f in "$@"; do cp "$examples/$f" "$folder/w$i.txt"; i=$((i + 1)); done
}
make_avg_folder "$work/avg_old" hit_002.txt hit_003.txt hit_004.txt
make_avg_folder "$work/avg_new" hit_001.txt hit_005.txt hit_006.txt
"$plexo" avg-fft "$work/avg_old" --setup "$setup" >/dev/null 2>&1 || fail "avg-fft reference"
"$plexo" avg-fft "$work/avg_new" --setup "$setup" >/dev/null 2>&1 || fail "avg-fft reference"
mkdir -p "$work/tft_old" "$work/tft_new"
cp "$examples/hit_002.txt" "$work/tft_old/hit.txt"
cp "$examples/hit_001.txt" "$work/tft_new/hit.txt"
"$plexo" tft "$work/tft_old/hit.txt" --setup "$setup" >/dev/null 2>&1 || fail "tft reference"
"$plexo" tft "$work/tft_new/hit.txt" --setup "$setup" >/dev/null 2>&1 || fail "tft reference"

# Checks that folder $1's results (names $3..) equal those of reference folder $2 "old" or
# "new" as a whole set; prints which.
result_set() {
  local folder="$1" old="$2" new="$3"
  shift 3
  local all_old=1 all_new=1
  for name in "$@"; do
    same "$folder/$name" "$old/$name" || all_old=0
    same "$folder/$name" "$new/$name" || all_new=0
  done
  if [ $all_new = 1 ]; then echo new; elif [ $all_old = 1 ]; then echo old; else echo mixed; fi
}
avg_results=(avgFFTData/average_FFT.txt avgFFTData/average_FFT_preview.bmp)
tft_results=(hit_wt.txt hit_wt_preview.bmp)

# Starts a run with old results and the new inputs in place, ends it with the signal after a
# random delay below $max_ms, and checks status, result set and leftovers.
interrupt_case() { # label signal max_ms kind
  local label="$1" sig="$2" max_ms="$3" kind="$4" folder="$work/run" input results old new
  rm -rf "$folder"
  if [ "$kind" = avg ]; then
    cp -r "$work/avg_old" "$folder"
    for i in 1 2 3; do cp "$work/avg_new/w$i.txt" "$folder/"; done
    results=("${avg_results[@]}")
    old="$work/avg_old" new="$work/avg_new" input="$folder"
  else
    cp -r "$work/tft_old" "$folder"
    cp "$work/tft_new/hit.txt" "$folder/"
    results=("${tft_results[@]}")
    old="$work/tft_old" new="$work/tft_new" input="$folder/hit.txt"
  fi
  local command=avg-fft
  [ "$kind" = tft ] && command=tft
  # Background jobs of a script ignore SIGINT; the program gets the default handling back.
  env --default-signal=INT,TERM,HUP "$plexo" "$command" "$input" --setup "$setup" \
    >/dev/null 2>"$work/err" &
  local pid=$!
  sleep "$(awk -v r="$RANDOM" -v m="$max_ms" 'BEGIN { printf "%.3f", r / 32767 * m / 1000 }')"
  kill -s "$sig" "$pid" 2>/dev/null
  # (bash's own "Killed" notice is not wanted in the log)
  { wait "$pid"; } 2>/dev/null
  local status=$? expected
  expected=$((128 + $(kill -l "$sig")))
  if [ "$status" != 0 ] && [ "$status" != "$expected" ]; then
    fail "$label: exit status $status, neither 0 nor $expected; $(cat "$work/err")"
  fi
  local set left
  set="$(result_set "$folder" "$old" "$new" "${results[@]}")"
  left="$(leftovers "$folder")"
  [ "$status" != 0 ] || [ "$set" = new ] || fail "$label: done, but the results are old"
  if [ "$sig" = KILL ] && { [ "$set" = mixed ] || [ -n "$left" ]; }; then
    # kill -9 cannot be caught: in the brief moment the files are renamed into place it can
    # split the set or leave a temporary name. The example runs are short (tens of ms), so now
    # and then a kill falls into that moment; in most tries it must not.
    kill_window_hits=$((kill_window_hits + 1))
    echo "  $label: kill -9 met the moment of renaming (results $set, left: $left)"
    return
  fi
  [ "$set" != mixed ] || fail "$label: the results are of two runs (status $status)"
  [ -z "$left" ] || fail "$label: temporary files left: $left"
  echo "  $label: status $status, results $set"
}

# How long a whole run takes, so that the kills fall anywhere in it, the writes included.
run_ms() {
  local start end
  start=$(date +%s%N)
  "$plexo" "$@" --setup "$setup" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(((end - start) / 1000000 + 20))
}
rm -rf "$work/timing" && cp -r "$work/avg_new" "$work/timing"
avg_ms=$(run_ms avg-fft "$work/timing")
rm -rf "$work/timing" && cp -r "$work/tft_new" "$work/timing"
tft_ms=$(run_ms tft "$work/timing/hit.txt")
for kind in avg tft; do
  max_ms=$avg_ms
  [ $kind = tft ] && max_ms=$tft_ms
  kill_window_hits=0
  for sig in TERM INT KILL; do
    for ((try = 1; try <= tries; try++)); do
      interrupt_case "$kind SIG$sig try $try" "$sig" "$max_ms" "$kind"
    done
  done
  [ $((kill_window_hits * 2)) -le "$tries" ] ||
    fail "$kind: kill -9 split the results or left temporaries in $kill_window_hits of $tries tries"
done
pass "interrupted runs"

# --- A full disk: a small tmpfs (root only, in a mount namespace of its own) with room for the
# new preview but not for the table as well. Without earlier results nothing may appear; with
# them, the run either fails and keeps them or (with room enough) replaces both.
if [ "$(id -u)" != 0 ] || ! command -v unshare >/dev/null 2>&1; then
  skip "full disk (needs root and unshare)"
elif ! unshare -m true 2>/dev/null; then
  skip "full disk (mount namespaces refused)"
else
  cat >"$work/full_disk.sh" <<'INNER'
set -u
plexo="$1" setup="$2" work="$3" disk="$3/disk"
mkdir -p "$disk"
mount -t tmpfs -o size=4m tmpfs "$disk" 2>/dev/null || exit 77
preview=$(stat -c %s "$work/avg_new/avgFFTData/average_FFT_preview.bmp")
for case in fresh earlier; do
  rm -rf "$disk"/*
  if [ $case = fresh ]; then
    mkdir "$disk/avg"
  else
    cp -r "$work/avg_old" "$disk/avg"
  fi
  for i in 1 2 3; do cp "$work/avg_new/w$i.txt" "$disk/avg/"; done
  mkdir -p "$disk/avg/avgFFTData"
  read -r blocks block_size < <(stat -f -c '%a %S' "$disk")
  filler=$((blocks * block_size - preview - 16384))
  [ "$filler" -gt 0 ] && head -c "$filler" /dev/zero >"$disk/filler"
  "$plexo" avg-fft "$disk/avg" --setup "$setup" >/dev/null 2>"$work/err_$case"
  echo "$case status $?"
  for name in average_FFT.txt average_FFT_preview.bmp; do
    file="$disk/avg/avgFFTData/$name"
    if [ ! -e "$file" ]; then echo "$case $name none"
    elif cmp -s "$file" "$work/avg_old/avgFFTData/$name"; then echo "$case $name old"
    elif cmp -s "$file" "$work/avg_new/avgFFTData/$name"; then echo "$case $name new"
    else echo "$case $name other"; fi
  done
  find "$disk" -name '*.tmp*' | sed "s/^/$case left /"
done
umount "$disk"
INNER
  unshare -m bash "$work/full_disk.sh" "$plexo" "$setup" "$work" >"$work/full" 2>&1
  code=$?
  if [ $code = 77 ]; then
    skip "full disk (tmpfs mount refused)"
  else
    grep -qx "fresh status 2" "$work/full" && grep -qx "fresh average_FFT.txt none" "$work/full" &&
      grep -qx "fresh average_FFT_preview.bmp none" "$work/full" ||
      fail "full disk without earlier results: $(cat "$work/full")"
    grep -q "could not be written: No space left on device!$" "$work/err_fresh" ||
      fail "full disk: message was: $(cat "$work/err_fresh")"
    if grep -qx "earlier status 0" "$work/full"; then
      grep -qx "earlier average_FFT.txt new" "$work/full" &&
        grep -qx "earlier average_FFT_preview.bmp new" "$work/full" ||
        fail "full disk with earlier results: $(cat "$work/full")"
    else
      grep -qx "earlier status 2" "$work/full" && grep -qx "earlier average_FFT.txt old" \
        "$work/full" && grep -qx "earlier average_FFT_preview.bmp old" "$work/full" ||
        fail "full disk with earlier results: $(cat "$work/full")"
      grep -q "could not be written: No space left on device!$" "$work/err_earlier" ||
        fail "full disk: message was: $(cat "$work/err_earlier")"
    fi
    ! grep -q " left " "$work/full" || fail "full disk: temporaries left: $(cat "$work/full")"
    pass "full disk"
  fi
fi

[ "$failures" = 0 ] || { echo "$failures failures" >&2; exit 1; }
echo "all output cases passed"
