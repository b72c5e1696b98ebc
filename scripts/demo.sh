#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The main job: builds the plug-in and the platform tools, lays out a fresh
# simulated platform, registers the plug-in, lets the host register its
# commands in the demo network and open thermostat RTU-1 in the configuration
# window. With a display the window appears and the demo goes on when you
# leave it with "Exit", and it ends in the host's network browser on the demo
# network; without one, pictures of the window are written.
#
# The platform root is a temporary folder, removed at the end; to keep one
# (and look at it with lns-host and lns-reg afterwards), name it:
#   LNS_PLATFORM_ROOT=~/lns-demo bash scripts/demo.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

# Runs a build step quietly; when it fails, its whole output is shown.
quietly() {
  local log
  log=$(mktemp)
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    exit 1
  fi
  rm -f "$log"
}
echo "Building the plug-in and the platform tools in build/dev (the first build takes a few minutes)"
quietly cmake --preset dev
quietly cmake --build --preset dev --target RM42xxPirConfigure lns-host lns-reg XIF32BIN lns-browser
bin="$PWD/build/dev/bin"

if [[ -n "${LNS_PLATFORM_ROOT:-}" ]]; then
  keep_root=true
  mkdir -p "$LNS_PLATFORM_ROOT"
else
  keep_root=false
  LNS_PLATFORM_ROOT=$(mktemp -d /tmp/lns-demo.XXXXXX)
  trap 'rm -rf "$LNS_PLATFORM_ROOT"' EXIT
fi
export LNS_PLATFORM_ROOT
export LNS_SIM_JOURNAL="$LNS_PLATFORM_ROOT/journal.txt"
interactive=false
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && "${QT_QPA_PLATFORM:-}" != offscreen ]]; then
  interactive=true
else
  export QT_QPA_PLATFORM=offscreen
  export RM42_UNATTENDED="${RM42_UNATTENDED:-1}"
  # Pictures outlive the platform root: they are what a run without a display shows.
  export RM42_SNAPSHOT_DIR="${RM42_SNAPSHOT_DIR:-$PWD/build/demo-snapshots}"
  rm -rf "$RM42_SNAPSHOT_DIR"
fi
step() { printf '\n== %s\n' "$*"; }

step "Lay out the simulated LonWorks platform in $LNS_PLATFORM_ROOT"
"$bin/lns-host" setup

step "Register the plug-in with the host"
"$bin/RM42xxPirConfigure" /regplugin
for _ in $(seq 50); do "$bin/lns-reg" query 'HKCR\RM42xxPirConfigure.LNSPlugInAPI' >/dev/null 2>&1 && break; sleep 0.1; done
"$bin/lns-host" plugins | awk -F'\t' '{ printf "registered: %s (%s), version %s\n", $1, $2, $3 }'

step "The host registers the plug-in's commands and opens RTU-1 in the configuration window"
show=""
$interactive && show='set Visible true'
$interactive && echo "(the window is open: edit, Apply, and leave it with Exit)"
"$bin/lns-host" run RM42xxPirConfigure.LNSPlugInAPI - <<END 2>/dev/null | paste -sd' ' | sed 's/^/host calls answered: /'
create
set NetworkInterfaceName ""
set networkName "Demo Building"
call SendCommand 50 0 ""
call SendCommand 13 7 "Demo Building/System 1/Floor 1/RTU-1"
$show
release
END

if ! $interactive; then
  step "What the window shows for RTU-1"
  # Fields of the values file: control, text, caption, unit.
  grep -E "^(StatusPanel_1|lbModel|lbHvacType|txtNvi_51|txtNvi_[0-7]|cbNvi_2)"$'\t' \
    "$RM42_SNAPSHOT_DIR/RTU-1-values.txt" |
    awk -F'\t' '{ caption = $1 == "StatusPanel_1" ? "Device state" : $3; sub(/:$/, "", caption)
                  printf "  %-40s %s %s\n", caption, $2, $4 }'
  echo "Pictures of every tab and of the activity log: $RM42_SNAPSHOT_DIR/"
fi

step "What happened"
count() { grep -cE "$1" "$LNS_SIM_JOURNAL" || true; }
echo "The plug-in is registered with the host; command 50 gave \"Demo Building\""
echo "$(count '^ComponentApps\.Add ') component applications (the host's commands for RM42xx thermostats), and"
# A device transaction: the state, a test, or one property read.
echo "command 13 opened RTU-1 in $(count '^(AppDevice\.(State|Test)|ConfigProperty\.(Formatted(Value|Element)|FetchElement)) ') device transactions with the simulated device."
echo "$(wc -l <"$LNS_SIM_JOURNAL") calls reached the simulated Object Server; no real network was used."
if $interactive; then
  step "The host's network browser on \"Demo Building\""
  echo "(pick a thermostat and choose Configure; close the browser to end the demo)"
  "$bin/lns-browser" "Demo Building"
fi
if $keep_root; then
  echo
  echo "The platform root $LNS_PLATFORM_ROOT is kept. Look around with, for example:"
  echo "  LNS_PLATFORM_ROOT=$LNS_PLATFORM_ROOT $bin/lns-host browse \"Demo Building\" \"Floor 1/RTU-1\""
else
  echo
  echo "The platform root was a temporary folder and is removed now; to keep one, name it:"
  echo "  LNS_PLATFORM_ROOT=~/lns-demo bash scripts/demo.sh"
fi
