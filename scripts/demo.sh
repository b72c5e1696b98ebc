#!/usr/bin/env bash
# The main job: builds the plug-in and the platform tools, lays out a fresh
# platform root, registers the plug-in, lets the host register its commands
# in the demo network and hand it a thermostat, and shows the results.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev
bin="$PWD/build/dev/bin"
export LNS_PLATFORM_ROOT="${LNS_PLATFORM_ROOT:-$(mktemp -d /tmp/lns-demo.XXXXXX)}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export RM42_UNATTENDED="${RM42_UNATTENDED:-1}"
export LNS_SIM_JOURNAL="$LNS_PLATFORM_ROOT/journal.txt"
step() { printf '\n== %s\n' "$*"; }

step "Platform root $LNS_PLATFORM_ROOT"
"$bin/lns-host" setup

step "Register the plug-in"
"$bin/RM42xxPirConfigure" /regplugin
for _ in $(seq 50); do "$bin/lns-reg" query 'HKCR\RM42xxPirConfigure.LNSPlugInAPI' >/dev/null 2>&1 && break; sleep 0.1; done
"$bin/lns-reg" query 'HKLM\SOFTWARE\LonWorks\LCA\Plug-Ins\Zentaro PIR ready RM42xx Configure'
"$bin/lns-reg" query 'HKCR\RM42xxPirConfigure.LNSPlugInAPI\LocalServer'
"$bin/lns-host" plugins

step "The host registers the plug-in's commands and configures RTU-1"
"$bin/lns-host" run RM42xxPirConfigure.LNSPlugInAPI - <<'END'
create
get Name
get Version
set NetworkInterfaceName ""
set networkName "Demo Building"
call SendCommand 50 0 ""
call SendCommand 13 7 "Demo Building/System 1/Floor 1/RTU-1"
call SendCommand 13 28 "Demo Building/System 1/Floor 1/RTU-1/Obj:Thermostat"
call SendCommand 99 7 "Demo Building/System 1/Floor 1/RTU-1"
release
END

step "The network as the host's browser shows it"
"$bin/lns-host" browse "Demo Building"

step "RTU-1's configuration properties, Imperial and Metric"
"$bin/lns-host" browse "Demo Building" "Floor 1/RTU-1" --units US
"$bin/lns-host" browse "Demo Building" "Floor 1/RTU-1" --units SI | grep -E 'nciSetPts|nciCfg1' || true

step "Object Server calls received (first 20 of $(wc -l < "$LNS_SIM_JOURNAL"))"
head -20 "$LNS_SIM_JOURNAL"
