#!/usr/bin/env bash
# Builds the Debian package from a build tree and checks it as a user would meet it: the files it
# installs, its declared dependencies, the unpacked program (--version, a Single FFT of an
# example, the desktop program found), the menu entry, the manual page, and lintian.
# Usage: check_package.sh BUILD_DIR VERSION EXAMPLE_WAVEFORM. Exit 77 (skipped) without dpkg-deb.
set -euo pipefail
build="$1"
version="$2"
example="$3"
for tool in dpkg-deb cpack; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool not installed; skipping"; exit 77; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb="$(ls "$work"/out/plexo_"$version"_*.deb)"
echo "built $(basename "$deb")"

# The files a user gets.
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' >"$work/files"
for file in /usr/bin/plexo /usr/libexec/plexo/plexo-desktop \
  /usr/share/applications/plexo.desktop /usr/share/icons/hicolor/scalable/apps/plexo.svg \
  /usr/share/icons/hicolor/256x256/apps/plexo.png /usr/share/man/man1/plexo.1.gz \
  /usr/share/bash-completion/completions/plexo /usr/share/doc/plexo/copyright \
  /usr/share/doc/plexo/changelog.gz; do
  grep -qx "$file" "$work/files" || fail "the package lacks $file"
done
if grep -E '/(include|lib/cmake|tests?)/|gtest|plexo_tests' "$work/files"; then
  fail "the package carries build or test files"
fi

# Dependencies computed from the programs' libraries.
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for library in libc6 libopencv-core libqt5widgets5; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library"
done

# The unpacked program.
root="$work/root"
dpkg-deb -x "$deb" "$root"
[ "$("$root/usr/bin/plexo" --version)" = "plexo $version" ] || fail "plexo --version"
cp "$example" "$work/hit.txt"
"$root/usr/bin/plexo" fft "$work/hit.txt" >"$work/fft.log" 2>&1 || { cat "$work/fft.log"; fail "plexo fft"; }
[ -s "$work/hit_fft.txt" ] && [ -s "$work/hit_fft_preview.bmp" ] || fail "plexo fft wrote nothing"
# With a display plexo hands over to the desktop program, which then runs until it is closed.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/plexo" \
  >"$work/desktop.log" 2>&1 || status=$?
[ "$status" = 124 ] || { cat "$work/desktop.log"; fail "the desktop did not start ($status)"; }

# Tab completion offers the commands and each command's options.
complete_words() {
  PATH="$root/usr/bin:$PATH" bash -c '
    source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _plexo; echo "${COMPREPLY[*]}"' \
    complete "$root/usr/share/bash-completion/completions/plexo" "$@"
}
words=" $(complete_words plexo a) "
[[ "$words" == *" avg-fft "* && "$words" == *" avg-tft "* ]] || fail "completion of commands"
[[ " $(complete_words plexo tft --me) " == *" --method "* ]] || fail "completion of options"

if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$root/usr/share/applications/plexo.desktop" || fail "desktop entry"
fi
if command -v man >/dev/null 2>&1; then
  MANWIDTH=100 man --warnings -l "$root/usr/share/man/man1/plexo.1.gz" >"$work/man.txt" \
    2>"$work/man.err" || fail "man -l"
  [ ! -s "$work/man.err" ] || { cat "$work/man.err"; fail "the manual page has warnings"; }
  grep -q "plexo fft" "$work/man.txt" || fail "the manual page lacks the commands"
fi
if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error "$deb" || fail "lintian reports errors"
fi
echo "package checked"
