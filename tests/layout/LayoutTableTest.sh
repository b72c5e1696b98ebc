#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# LayoutTableTest.sh SOURCE: the README's layout table names every top-level
# folder and every folder of the two trees (plugin/, lnssim/), and nothing
# else.
set -euo pipefail
cd "$1"
table=$(sed -n '/^## Layout$/,/^## /p' README.md | sed -nE 's/^\| `([^`]+)` \|.*/\1/p' | sed 's:/$::' | sort)
tree=$({
  find . -mindepth 1 -maxdepth 1 -type d ! -name '.*' ! -name build -printf '%P\n'
  find plugin lnssim -mindepth 1 -maxdepth 1 -type d
} | sort)
missing=$(comm -13 <(echo "$table") <(echo "$tree"))
extra=$(comm -23 <(echo "$table") <(echo "$tree"))
[[ -z $missing ]] || echo "folders the README's layout table does not name: $missing"
[[ -z $extra ]] || echo "the README's layout table names folders that do not exist: $extra"
[[ -z $missing && -z $extra ]] || exit 1
echo "the README's layout table matches the tree"
