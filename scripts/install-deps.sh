#!/usr/bin/env bash
# Installs the Debian packages PLEXO++ needs to build, test and run. Idempotent: only what is
# missing is installed. Run as root (or with sudo available) on Debian 12.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libopencv-dev            # core and imgproc (and the CMake package)
  libstb-dev               # image encoder (stb_image_write.h) for the preview files
  libfast-float-dev        # exact, fast decimal number parsing
  libcli11-dev             # command line
  libsqlite3-dev libflac-dev  # waveform databases (.tradb: SQLite, FLAC blobs)
  pybind11-dev python3-dev python3-numpy python3-pytest  # the Python module and its tests
  qtbase5-dev              # desktop front end
  qtbase5-private-dev      # desktop tests: input through Qt's window-system interface
  libxtst-dev              # desktop tests: fake keys and clicks on a real X server
  libgtest-dev googletest  # tests
  libbenchmark-dev         # bench/
  clang-format
  clang-14 libclang-rt-14-dev  # fuzz targets (libFuzzer); scripts/test.sh runs them briefly
  help2man                 # the manual page, made from the program's help
  dpkg-dev fakeroot        # the Debian package (dpkg-shlibdeps computes its dependencies)
  lintian desktop-file-utils man-db  # checks of the package
  xvfb xauth x11-utils     # desktop screenshots and tests under a virtual display
  openbox                  # desktop tests with a window manager
  libopenmpi-dev openmpi-bin  # plexo-mpi: features and avg-fft over MPI ranks, and its tests
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "All build dependencies are installed."
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
