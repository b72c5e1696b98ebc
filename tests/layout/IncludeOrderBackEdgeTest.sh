#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# IncludeOrderBackEdgeTest.sh SOURCE: the include-order check passes on a copy
# of the sources and fails, naming the line, once the copy gets one include
# that points up (the model reaching into the window) or across the trees
# (the product reaching into the simulated Object Server).
set -euo pipefail
source=$1
check="$(dirname "$0")/IncludeOrderTest.sh"
work=$(mktemp -d /tmp/include-order.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

(cd "$source" && find plugin lnssim \( -name '*.h' -o -name '*.cpp' \) -print0 |
  xargs -0 cp --parents -t "$work")
bash "$check" "$work" >"$work/clean.out" || fail "the copy of the sources does not pass: $(cat "$work/clean.out")"

# expect_refused FILE INCLUDE: the check fails on FILE with INCLUDE added, and names it.
expect_refused() {
  local file=$1 include=$2 lines
  cp "$work/$file" "$work/$file.kept"
  echo "#include \"$include\"" >>"$work/$file"
  lines=$(wc -l <"$work/$file")
  if bash "$check" "$work" >"$work/out"; then
    fail "$include in $file passes"
  else
    grep -qF "$file:$lines:" "$work/out" || fail "the check does not name $file:$lines: $(cat "$work/out")"
  fi
  mv "$work/$file.kept" "$work/$file"
}
expect_refused plugin/model/Specific.cpp window/fMain.h
expect_refused plugin/platform/Paths.cpp support/CRegistry.h
expect_refused plugin/rm42-config/Thermostat.cpp objectserver/SimObjectServer.h

((failures == 0)) && echo "the include-order check refuses a back-edge"
exit $((failures > 0))
