#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# PackageTest.sh BUILD SOURCE "PLUG-IN PROGRAMS" "PLATFORM PROGRAMS": packs
# this build into its two .deb files, rm42xx-config (the product) and lnssim
# (the simulated platform it depends on), checks what they hold (licence,
# hardening, command-line conventions, desktop files, completions), runs the
# demo's road with the unpacked programs of both alone (no checkout, no build
# tree) and lets lintian judge each package.
set -euo pipefail
build=$1 source=$2
read -ra plugin_programs <<<"$3"
read -ra lnssim_programs <<<"$4"
programs=("${plugin_programs[@]}" "${lnssim_programs[@]}")
work=$(mktemp -d /tmp/package-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The packages build.
if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack"
  exit 1
fi
plugin=$(find "$work/out" -maxdepth 1 -name 'rm42xx-config_*.deb')
lnssim=$(find "$work/out" -maxdepth 1 -name 'lnssim_*.deb')
[[ -f $plugin && -f $lnssim ]] || { ls "$work/out"; echo "FAIL: not the two packages"; exit 1; }
echo "packages: $plugin $lnssim"
for deb in "$plugin" "$lnssim"; do
  [[ $(dpkg-deb -f "$deb" Architecture) == "$(dpkg --print-architecture)" ]] || fail "architecture of $deb"
  [[ $(dpkg-deb -f "$deb" Depends) == *libqt6core6* ]] || fail "no Qt dependency of $deb found by dpkg-shlibdeps"
done
version=$(dpkg-deb -f "$plugin" Version)
[[ $(dpkg-deb -f "$plugin" Depends) == *libqt6widgets6* ]] || fail "the plug-in does not depend on Qt Widgets"
[[ $(dpkg-deb -f "$plugin" Depends) == *"lnssim (= $version)"* ]] ||
  fail "the plug-in does not depend on the simulated platform of its version"

# The plug-in's package holds its programs with their manual pages, the
# desktop entry and its icon; the platform's its programs with theirs, the
# converter and the whole kit. No file is in both.
contents() { dpkg-deb -c "$1" | sed -E 's/^([^ ]+ +){5}\.//' | grep -v '/$' | sort; }
contents "$plugin" >"$work/plugin.files"
contents "$lnssim" >"$work/lnssim.files"
holds() { grep -qxF "$2" "$work/$1.files" || fail "$1 is missing $2"; }
for program in "${plugin_programs[@]}"; do
  holds plugin "/usr/bin/$program"
  holds plugin "/usr/share/man/man1/$program.1.gz"
done
for program in "${lnssim_programs[@]}"; do
  holds lnssim "/usr/bin/$program"
  holds lnssim "/usr/share/man/man1/$program.1.gz"
done
holds lnssim /usr/libexec/lnssim/XIF32BIN
holds lnssim /usr/share/man/man1/XIF32BIN.1.gz
while IFS= read -r file; do
  holds lnssim "/usr/share/lnssim/kit/$file"
done < <(cd "$source/lnssim/kit" && find . -type f -printf '%P\n')
holds plugin /usr/share/applications/rm42xx-config.desktop
holds plugin /usr/share/icons/hicolor/48x48/apps/rm42xx-config.png
holds plugin /usr/share/doc/rm42xx-config/copyright
holds lnssim /usr/share/doc/lnssim/copyright
holds plugin /usr/share/metainfo/rm42xx-config.metainfo.xml
holds lnssim /usr/share/applications/lns-browser.desktop
holds lnssim /usr/share/metainfo/lns-browser.metainfo.xml
holds lnssim /usr/share/icons/hicolor/scalable/apps/lns-browser.svg
holds lnssim /usr/share/bash-completion/completions/lns-host
holds plugin /usr/share/bash-completion/completions/rm42-config
shared=$(comm -12 "$work/plugin.files" "$work/lnssim.files")
[[ -z $shared ]] || fail "files in both packages: $shared"

root="$work/root"
dpkg-deb -x "$lnssim" "$root"
dpkg-deb -x "$plugin" "$root"
desktop="$root/usr/share/applications/rm42xx-config.desktop"
desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
browser_desktop="$root/usr/share/applications/lns-browser.desktop"
desktop-file-validate "$browser_desktop" || fail "the browser's desktop entry is not valid"
grep -qx 'Exec=lns-browser' "$browser_desktop" || fail "the browser's desktop entry does not open it"
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
if grep -rlF "$source" "$root"; then fail "build or checkout paths compiled in"; fi

# The licence: the full Apache License 2.0 in the source tree, and a
# machine-readable copyright file whose every licence has its text.
grep -q 'Apache License' "$source/LICENSE" && grep -q 'Version 2.0, January 2004' "$source/LICENSE" ||
  fail "LICENSE is not the Apache License 2.0"
if [[ -f /usr/share/common-licenses/Apache-2.0 ]]; then
  cmp -s "$source/LICENSE" /usr/share/common-licenses/Apache-2.0 || fail "LICENSE is not the licence's full text"
fi
for package in rm42xx-config lnssim; do
  copyright="$root/usr/share/doc/$package/copyright"
  [[ $(head -1 "$copyright") == 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ]] ||
    fail "the copyright file of $package does not name its format"
  grep -qx 'License: Apache-2.0' "$copyright" || fail "the copyright file of $package does not give Apache-2.0"
  problems=$(awk 'BEGIN { RS = ""; FS = "\n" }
    NR == 1 { next }
    {
      files = copyright = 0; license = ""; text = 0
      for (i = 1; i <= NF; i++) {
        if ($i ~ /^Files:/) files = 1
        if ($i ~ /^Copyright:/) copyright = 1
        if ($i ~ /^License:/) { license = $i; sub(/^License: */, "", license); text = i < NF && $(i + 1) ~ /^ / }
      }
      if (files && (!copyright || license == "")) print "paragraph " NR ": Files without Copyright or License"
      if (!files && license == "") print "paragraph " NR ": neither Files nor License"
      if (text) defined[license] = 1; else if (license != "") used[license] = 1
    }
    END { for (name in used) if (!(name in defined)) print "licence " name " has no text" }' "$copyright")
  [[ -z $problems ]] || fail "the copyright file of $package: $problems"
done

# Hardening: every program has the stack protector, read-only relocations
# and immediate binding (lintian below looks at the fortified functions).
for program in "$root"/usr/bin/* "$root"/usr/libexec/lnssim/*; do
  name=$(basename "$program")
  # Read whole first: grep -q stopping early would fail the pipe.
  symbols=$(readelf --dyn-syms -W "$program") dynamic=$(readelf -d "$program") segments=$(readelf -lW "$program")
  grep -q '__stack_chk_fail' <<<"$symbols" || fail "$name has no stack protector"
  grep -qE 'BIND_NOW|FLAGS_1.* NOW' <<<"$dynamic" || fail "$name does not bind now"
  grep -q GNU_RELRO <<<"$segments" || fail "$name has no read-only relocations"
done

# Every program answers --help (usage on standard output) and --version,
# without a display, a platform root or a window.
bare() { (cd "$work" && env -i PATH="$root/usr/bin:/usr/bin:/bin" HOME="$work/home" "$@"); }
for program in "$root"/usr/bin/* "$root"/usr/libexec/lnssim/*; do
  name=$(basename "$program")
  help=$(bare "$program" --help 2>"$work/help.err") || fail "$name --help exits $?"
  [[ ${help,,} == *usage:* && ! -s "$work/help.err" ]] || fail "$name --help does not print its usage alone"
  [[ $(bare "$program" --version 2>&1) == *"$version"* ]] || fail "$name --version does not print $version"
done

# Desktop integration: docks match the window to its entry, and the
# software centres' description is valid.
grep -qx 'StartupWMClass=RM42xxPirConfigure' "$desktop" || fail "the desktop entry names no window class"
if command -v appstreamcli >/dev/null; then
  for metainfo in "$root"/usr/share/metainfo/*.metainfo.xml; do
    appstreamcli validate --no-net --pedantic "$metainfo" ||
      fail "the AppStream description $(basename "$metainfo") is not valid"
  done
fi

# Bash completions: one per program, named after it; lns-host's completes
# its subcommands and the networks of the platform root.
for file in "$root"/usr/share/bash-completion/completions/*; do
  name=$(basename "$file")
  [[ -x "$root/usr/bin/$name" ]] || fail "the completion $name names no program"
  bash -c "source '$file' && complete -p '$name'" >/dev/null 2>&1 || fail "the completion $name does not register"
done

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

complete_line() {
  run bash -c 'source /usr/share/bash-completion/bash_completion && source "$1" && shift &&
    COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMP_LINE="$*" COMP_POINT=${#COMP_LINE} &&
    _lns_host && printf "%s\n" "${COMPREPLY[@]}"' - "$root/usr/share/bash-completion/completions/lns-host" "$@"
}
if [[ -f /usr/share/bash-completion/bash_completion ]]; then
  [[ $(complete_line lns-host br) == browse ]] || fail "lns-host's completion does not complete a subcommand"
  complete_line lns-host browse De | grep -qxF 'Demo\ Building' || fail "lns-host's completion does not complete a network"
else
  fail "bash-completion is missing (bash scripts/install-deps.sh installs it)"
fi

# Lintian: no error, no warning and no hardening information tag.
if ! command -v lintian >/dev/null; then
  fail "lintian is missing (bash scripts/install-deps.sh installs it)"
else
  lintian -I --fail-on error,warning "$plugin" "$lnssim" >"$work/lintian.out" \
    2> >(grep -v 'running with root privileges' >&2) || fail "lintian"
  cat "$work/lintian.out"
  if grep -q ' hardening-' "$work/lintian.out"; then fail "lintian finds hardening missing"; fi
  # The one override: fortified functions, whose flags are checked here instead.
  grep -q -- '-D_FORTIFY_SOURCE=2' "$build/compile_commands.json" || fail "the build is not fortified"
fi

((failures == 0)) && echo "package test passed"
exit $((failures > 0))
