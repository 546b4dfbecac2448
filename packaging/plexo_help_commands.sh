#!/usr/bin/env bash
# Prints the commands a plexo help text lists, one per line, nested ones as "ascii split".
# Usage: plexo_help_commands.sh PROGRAM [COMMAND...]
set -euo pipefail
program="$1"
shift
list() {
  "$program" "$@" --help 2>/dev/null |
    awk '/^Subcommands:/ { on = 1; next } on && /^[^ ]/ { on = 0 }
         on && /^  [a-z][a-z0-9-]*( |$)/ { print $1 }'
}
walk() {
  local command
  for command in $(list "$@"); do
    echo "$* $command" | sed 's/^ //'
    walk "$@" "$command"
  done
}
walk "$@"
