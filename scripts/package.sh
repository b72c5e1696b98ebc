#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the two Debian packages, rm42xx-config and the simulated platform
# lnssim it depends on, from a clean build folder (build/package) and prints
# their paths; the build's own output goes to standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >&2
rm -rf build/package
cmake --preset package >&2
cmake --build --preset package >&2
cpack --preset package >&2
find "$PWD/build/package" -maxdepth 1 -name '*.deb'
