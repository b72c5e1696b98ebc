#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the Debian package from a clean build folder (build/package) and
# prints its path; the build's own output goes to standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >&2
rm -rf build/package
cmake --preset package >&2
cmake --build --preset package >&2
cpack --preset package >&2
find "$PWD/build/package" -maxdepth 1 -name '*.deb'
