#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds and runs every test. With --asan, under the address and
# undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=dev
[[ "${1:-}" == "--asan" ]] && preset=asan
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
