#!/usr/bin/env bash
# Writes the manual page plexo.1.gz from the program's own help: help2man for the synopsis and
# the options, and one section per command from `plexo COMMAND --help`.
# Usage: make_manpage.sh PROGRAM OUTPUT.1.gz
set -euo pipefail
program="$1"
output="$2"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The help's last line names the setup file of this machine: not part of a manual.
escape() { grep -v '^Setup file in use' | sed -e 's/\\/\\e/g' -e 's/^[.'"'"']/\\\&&/'; }
{
  echo "[COMMANDS]"
  "$here/plexo_help_commands.sh" "$program" | while read -r command; do
    echo ".SS plexo $command"
    echo ".nf"
    # shellcheck disable=SC2086
    "$program" $command --help | escape
    echo ".fi"
  done
  cat "$here/manpage-extra.h2m"
} >"$work/include.h2m"

HOME="$work" help2man --no-info --no-discard-stderr \
  --name="acoustic-emission waveform analysis" --section=1 \
  --include="$work/include.h2m" --output="$work/plexo.1" "$program"
# The footer of the main help names this machine's setup file too.
sed -i '/^Setup file in use/d' "$work/plexo.1"
gzip -9n -c "$work/plexo.1" >"$output"
