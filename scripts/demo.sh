#!/usr/bin/env bash
# The main job: builds the plug-in and the platform tools, sets up a fresh
# platform root and shows the plug-in registered with it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev
bin="$PWD/build/dev/bin"
export LNS_PLATFORM_ROOT="${LNS_PLATFORM_ROOT:-$(mktemp -d /tmp/lns-demo.XXXXXX)}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
echo "Platform root: $LNS_PLATFORM_ROOT"
"$bin/RM42xxPirConfigure" /regserver
echo "Automation class:"
"$bin/lns-reg" query 'HKCR\RM42xxPirConfigure.LNSPlugInAPI\LocalServer'
