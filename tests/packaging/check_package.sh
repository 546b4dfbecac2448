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
  /usr/share/doc/plexo/changelog.gz /usr/share/doc/plexo/README.md \
  /usr/share/doc/plexo/examples/hit_001.txt /usr/share/doc/plexo/examples/demo-setup.ini \
  /usr/share/metainfo/org.example.plexo.metainfo.xml; do
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

# The extended description: every line after the synopsis is a continuation line (a blank, then
# text), none starts with the ";" a CMake list would leave there.
dpkg-deb -f "$deb" Description >"$work/description"
echo "Description: $(head -1 "$work/description")"
[ "$(wc -l <"$work/description")" -ge 3 ] || fail "the description has no extended lines"
if tail -n +2 "$work/description" | grep -v '^ [^ ;]'; then
  fail "malformed continuation lines in the description"
fi

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
# ... and the values an option or an argument takes.
[[ " $(complete_words plexo ascii '') " == *" accumulate "*" split "* ]] || fail "completion of ascii"
[[ " $(complete_words plexo locations v) " == " visualae " ]] || fail "completion of locations"
[[ " $(complete_words plexo view --kind '') " == *" waveform "*" tft "* ]] || fail "completion of --kind"
[[ " $(complete_words plexo avg-fft --window '') " == *" 200us "* ]] || fail "completion of --window"
[[ " $(complete_words plexo convolve --output c) " == " columns " ]] || fail "completion of --output"
[[ " $(complete_words plexo features --columns amplitude,cen) " == " amplitude,centroid " ]] ||
  fail "completion of a --columns list"

if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$root/usr/share/applications/plexo.desktop" || fail "desktop entry"
fi
if command -v man >/dev/null 2>&1; then
  MANWIDTH=100 man --warnings -l "$root/usr/share/man/man1/plexo.1.gz" >"$work/man.txt" \
    2>"$work/man.err" || fail "man -l"
  [ ! -s "$work/man.err" ] || { cat "$work/man.err"; fail "the manual page has warnings"; }
  grep -q "plexo fft" "$work/man.txt" || fail "the manual page lacks the commands"
fi
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.plexo.metainfo.xml" ||
    fail "the AppStream metainfo does not validate"
fi
if command -v man >/dev/null 2>&1; then
  # The manual states rules, not the core count of the machine that built it.
  if grep -E 'INT:0\.\.[0-9]+( |$)|[0-9]+ here\)' "$work/man.txt"; then
    fail "the manual page records the build machine"
  fi
  grep -q "/usr/share/doc/plexo/README.md" "$work/man.txt" || fail "SEE ALSO names no README"
fi
if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error "$deb" || fail "lintian reports errors"
fi

# Installed and removed as a user does (root only, and never over a plexo the machine already
# has): the settings go to the user's folder, and nothing of the program stays behind.
if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null 2>&1 &&
  ! dpkg-query -W -f='${Status}' plexo 2>/dev/null | grep -q 'installed'; then
  home="$work/home"
  mkdir -p "$home"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-download "$deb" >"$work/apt.log" 2>&1 ||
    DEBIAN_FRONTEND=noninteractive dpkg -i "$deb" >>"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "the package does not install"; }
  dpkg -L plexo >"$work/installed"
  help="$(cd "$work" && env -u XDG_CONFIG_HOME HOME="$home" plexo --help 2>&1)"
  grep -q "$home/.config/plexo/Setup.ini" <<<"$help" ||
    { echo "$help" | tail -3; fail "the installed plexo does not keep its settings per user"; }
  (cd "$work" && HOME="$home" plexo fft "$work/hit.txt" >/dev/null 2>&1) || fail "installed plexo fft"
  man -w plexo >/dev/null 2>&1 || fail "man plexo finds no page"
  if grep -q "dist-packages/plexo" "$work/installed" && /usr/bin/python3 -c "import numpy" 2>/dev/null; then
    (cd "$work" && /usr/bin/python3 -c "
import plexo, sys
freqs, spectrum = plexo.fft(plexo.read_waveform(sys.argv[1]))
assert len(spectrum) > 0" "$work/hit.txt") || fail "import plexo does not work from the package"
  fi
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq plexo >>"$work/apt.log" 2>&1 ||
    dpkg -r plexo >>"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "the package does not remove"; }
  while read -r path; do
    [ -d "$path" ] && continue
    [ ! -e "$path" ] || fail "$path is left after removal"
  done <"$work/installed"
  for folder in /usr/bin /usr/libexec/plexo /usr/share/doc/plexo /etc; do
    [ ! -e "$folder/Setup.ini" ] || fail "a setup file was written into $folder"
  done
  [ ! -e /usr/libexec/plexo ] || fail "/usr/libexec/plexo is left after removal"
  echo "installed, used and removed without a trace"
fi
echo "package checked"
