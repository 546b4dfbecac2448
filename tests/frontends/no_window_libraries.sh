#!/usr/bin/env bash
# The command-line program must not load a window toolkit or an image-codec stack: every
# library it would load is listed by the dynamic loader and none may match.
# Usage: no_window_libraries.sh PROGRAM PATTERN...
set -euo pipefail
program="$1"
shift
libraries="$(ldd "$program")"
status=0
for pattern in "$@"; do
  if grep -E "$pattern" <<<"$libraries"; then
    echo "$program loads a library matching '$pattern'" >&2
    status=1
  fi
done
echo "$(wc -l <<<"$libraries") shared libraries, none matching: $*"
exit $status
