#!/usr/bin/env bash
# Installs the Debian 12 packages that the build, the tests and the demo need.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config git
          qt6-base-dev libqt6test6 libgl-dev libsqlite3-dev sqlite3
          googletest libgtest-dev libgmock-dev libbenchmark-dev
          fonts-dejavu-core
          dpkg-dev file lintian desktop-file-utils)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
