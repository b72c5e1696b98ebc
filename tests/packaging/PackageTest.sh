#!/usr/bin/env bash
# PackageTest.sh BUILD SOURCE PROGRAM...: packs this build into a .deb, checks
# what it holds, runs the demo's road with the unpacked programs alone (no
# checkout, no build tree) and lets lintian judge the package.
set -euo pipefail
build=$1 source=$2
shift 2
programs=("$@")
work=$(mktemp -d /tmp/package-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The package builds.
if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack"
  exit 1
fi
deb=$(find "$work/out" -maxdepth 1 -name '*.deb')
echo "package: $deb"
[[ $(dpkg-deb -f "$deb" Architecture) == "$(dpkg --print-architecture)" ]] || fail "architecture"
[[ $(dpkg-deb -f "$deb" Depends) == *libqt6widgets6* ]] || fail "no Qt dependency found by dpkg-shlibdeps"

# It holds every program with its manual page, the converter, the whole kit,
# the desktop entry and its icon.
dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}\.//' >"$work/files"
holds() { grep -qxF "$1" "$work/files" || fail "missing $1"; }
for program in "${programs[@]}"; do
  holds "/usr/bin/$program"
  holds "/usr/share/man/man1/$program.1.gz"
done
holds /usr/libexec/rm42xx-config/XIF32BIN
while IFS= read -r file; do
  holds "/usr/share/rm42xx-config/kit/$file"
done < <(cd "$source/kit" && find . -type f -printf '%P\n')
holds /usr/share/applications/rm42xx-config.desktop
holds /usr/share/icons/hicolor/48x48/apps/rm42xx-config.png
holds /usr/share/doc/rm42xx-config/copyright
holds /usr/share/bash-completion/completions/rm42-config

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop="$root/usr/share/applications/rm42xx-config.desktop"
desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
grep -qx 'Exec=RM42xxPirConfigure' "$desktop" || fail "the desktop entry does not open the registration window"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for png in "$root"/usr/share/icons/hicolor/*/apps/"$icon".png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  file "$png" | grep -q "PNG image data, ${size/x/ x }," || fail "$png is not $size"
done
for program in "${programs[@]}"; do
  man -l "$root/usr/share/man/man1/$program.1.gz" 2>/dev/null | grep -q "^NAME" ||
    fail "the manual page of $program does not read"
done
bash -n "$root/usr/share/bash-completion/completions/rm42-config" ||
  fail "the bash completion of rm42-config does not parse"
if grep -rlF "$source" "$root"; then fail "build or checkout paths compiled in"; fi

# The demo's road, with the unpacked programs and nothing else of this machine's
# setup: a bare environment, a fresh platform root, a folder of its own.
platform="$work/platform"
mkdir -p "$platform" "$work/home"
mkdir -m 700 "$work/runtime"
run() {
  (cd "$work" && env -i PATH="$root/usr/bin:/usr/bin:/bin" HOME="$work/home" \
    XDG_RUNTIME_DIR="$work/runtime" LNS_PLATFORM_ROOT="$platform" LNS_SIM_JOURNAL="$platform/journal.txt" \
    QT_QPA_PLATFORM=offscreen RM42_UNATTENDED=1 "$@")
}
run lns-host setup >"$work/setup.log" 2>&1 || { cat "$work/setup.log"; fail "lns-host setup"; }
[[ -x "$platform/LonWorks/bin/XIF32BIN" ]] || fail "setup did not install the converter"
[[ -f "$platform/LonWorks/Databases/Demo Building/network.json" ]] || fail "setup did not lay out the kit"

run RM42xxPirConfigure /regplugin || fail "/regplugin"
class='HKCR\RM42xxPirConfigure.LNSPlugInAPI\LocalServer'
for _ in $(seq 100); do run lns-reg query "$class" >/dev/null 2>&1 && break; sleep 0.1; done
run lns-reg query "$class" | grep -qF "$root/usr/bin/RM42xxPirConfigure" ||
  fail "the automation class does not name the unpacked plug-in"

run lns-host run RM42xxPirConfigure.LNSPlugInAPI - >"$work/run.out" 2>"$work/run.err" <<'END' || fail "lns-host run"
create
set networkName "Demo Building"
call SendCommand 50 0 ""
call SendCommand 13 7 "Demo Building/System 1/Floor 1/RTU-1"
release
END
if [[ "$(cat "$work/run.out")" != $'object 1\nok\nok\nok\nok' ]]; then
  cat "$work/run.out" "$work/run.err"
  fail "the host's calls did not all succeed"
fi
run lns-host browse "Demo Building" >"$work/browse.out" 2>&1
grep -qF '"Zentaro PIR ready RM42xx Device Configure"  command 13  class 7' "$work/browse.out" ||
  fail "command 50 did not register the device command"
grep -qF 'ComponentApps.Add' "$platform/journal.txt" || fail "no component application was added"

# Lintian: no error and no warning.
if ! command -v lintian >/dev/null; then
  fail "lintian is missing (bash scripts/install-deps.sh installs it)"
elif ! lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2); then
  fail "lintian"
fi

((failures == 0)) && echo "package test passed"
exit $((failures > 0))
