#!/usr/bin/env bash
# Writes the manual page plexo.1.gz from the program's own help: help2man for the synopsis and
# the options, one section per command from `plexo COMMAND --help`, and the exit statuses from
# the table at the end of `plexo --help`.
# Usage: make_manpage.sh PROGRAM OUTPUT.1.gz
set -euo pipefail
program="$1"
output="$2"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The help's last line names the setup file of this machine: not part of a manual.
escape() { grep -v '^Setup file in use' | sed -e 's/\\/\\e/g' -e 's/^[.'"'"']/\\\&&/'; }
# The exit-status table of the help, one ".TP" entry per status.
exit_statuses() {
  "$program" --help |
    awk '/^Exit status:/ { on = 1; next } on && /^  [0-9]/ { print; next } on { exit }' |
    while read -r status meaning; do
      printf '.TP\n.B %s\n%s\n' "$status" "$meaning"
    done
}
# help2man reads the help through this wrapper, which leaves the table out: it has a section
# of its own.
cat >"$work/plexo" <<WRAPPER
#!/bin/sh
"$program" "\$@" | awk '/^Exit status:/ { skip = 1; next } skip && /^  [0-9]/ { next } { skip = 0; print }'
WRAPPER
chmod +x "$work/plexo"
{
  echo "[COMMANDS]"
  "$here/plexo_help_commands.sh" "$program" | while read -r command; do
    echo ".SS plexo $command"
    echo ".nf"
    # shellcheck disable=SC2086
    "$program" $command --help | escape
    echo ".fi"
  done
  echo "[EXIT STATUS]"
  exit_statuses
  cat "$here/manpage-extra.h2m"
} >"$work/include.h2m"

HOME="$work" help2man --no-info --no-discard-stderr \
  --name="acoustic-emission waveform analysis" --section=1 \
  --include="$work/include.h2m" --output="$work/plexo.1" "$work/plexo"
# The footer of the main help names this machine's setup file too.
sed -i '/^Setup file in use/d' "$work/plexo.1"
gzip -9n -c "$work/plexo.1" >"$output"
