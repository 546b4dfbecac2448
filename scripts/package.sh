#!/usr/bin/env bash
# Builds the Debian package: build/release/plexo_<version>_<arch>.deb. Install it with
#   sudo apt install ./build/release/plexo_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh release
cd build/release
cpack -G DEB
ls -1 "$PWD"/plexo_*.deb
