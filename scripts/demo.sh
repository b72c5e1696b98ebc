#!/usr/bin/env bash
# The main job: builds the plug-in and the platform tools, lays out a fresh
# platform root, registers the plug-in, lets the host register its commands
# in the demo network and open thermostat RTU-1 in the configuration window.
# With a display the window appears and the demo ends when you leave it with
# "Exit"; without one, pictures of the window are written and listed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev
bin="$PWD/build/dev/bin"
export LNS_PLATFORM_ROOT="${LNS_PLATFORM_ROOT:-$(mktemp -d /tmp/lns-demo.XXXXXX)}"
export LNS_SIM_JOURNAL="$LNS_PLATFORM_ROOT/journal.txt"
interactive=false
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && "${QT_QPA_PLATFORM:-}" != offscreen ]]; then
  interactive=true
else
  export QT_QPA_PLATFORM=offscreen
  export RM42_UNATTENDED="${RM42_UNATTENDED:-1}"
  export RM42_SNAPSHOT_DIR="${RM42_SNAPSHOT_DIR:-$LNS_PLATFORM_ROOT/snapshots}"
fi
step() { printf '\n== %s\n' "$*"; }

step "Platform root $LNS_PLATFORM_ROOT"
"$bin/lns-host" setup

step "Register the plug-in"
"$bin/RM42xxPirConfigure" /regplugin
for _ in $(seq 50); do "$bin/lns-reg" query 'HKCR\RM42xxPirConfigure.LNSPlugInAPI' >/dev/null 2>&1 && break; sleep 0.1; done
"$bin/lns-reg" query 'HKLM\SOFTWARE\LonWorks\LCA\Plug-Ins\Zentaro PIR ready RM42xx Configure'
"$bin/lns-host" plugins

step "The host registers the plug-in's commands and opens RTU-1 in the configuration window"
show=""
$interactive && show='set Visible true'
$interactive && echo "(the window is open: edit, Apply, and leave it with Exit)"
"$bin/lns-host" run RM42xxPirConfigure.LNSPlugInAPI - <<END
create
get Name
get Version
set NetworkInterfaceName ""
set networkName "Demo Building"
call SendCommand 50 0 ""
call SendCommand 13 7 "Demo Building/System 1/Floor 1/RTU-1"
$show
release
END

if ! $interactive; then
  step "Pictures of the configuration window and its activity log"
  ls -1 "$RM42_SNAPSHOT_DIR"/*.png
  step "What the window shows (control, text)"
  grep -E "^(txtNvi_[0-6]|txtNvi_51|cbNvi_2|lbModel|lbHvacType|lblDeviceTemplate|StatusPanel_[12])"$'\t' "$RM42_SNAPSHOT_DIR/RTU-1-values.txt" | awk -F'\t' '{ printf "%-18s %s\n", $1, $2 }'
fi

step "RTU-1's configuration properties as the host's browser reads them"
"$bin/lns-host" browse "Demo Building" "Floor 1/RTU-1" --units US | grep CP

step "Object Server calls received (first 20 of $(wc -l < "$LNS_SIM_JOURNAL"))"
head -20 "$LNS_SIM_JOURNAL"
