#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs the Debian 12 packages that the build, the tests and the demo need.
# Only this needs root, and only while a package is missing: as another user
# it names the missing packages and the command that installs them.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config git
          qt6-base-dev libqt6test6 libgl-dev libxcb1-dev libsqlite3-dev sqlite3
          googletest libgtest-dev libgmock-dev libbenchmark-dev librapidcheck-dev
          fonts-dejavu-core poppler-utils xvfb xdotool
          dpkg-dev file lintian desktop-file-utils appstream bash-completion)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
((${#missing[@]})) || exit 0
if ((EUID != 0)); then
  echo "install-deps: packages missing: ${missing[*]}" >&2
  echo "install-deps: install them as root: sudo apt-get install --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
