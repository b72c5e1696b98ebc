#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# SharedTempPathTest.sh SOURCE: no test writes a file of a fixed name into the
# machine's shared temporary folder, where another user's file of that name
# would stop it. Tests use a temporary folder of their own (QTemporaryDir,
# mktemp -d) instead.
set -euo pipefail
cd "$1"
found=$({
  # The X server's own sockets and lock files are looked at, never written.
  grep -rnE --include='*.cpp' --include='*.h' \
    'QDir::tempPath\(\)|QStandardPaths::TempLocation|"/tmp/' tests | grep -v '"/tmp/\.X' || true
  grep -rnE --include='*.sh' '/tmp/' tests | grep -v 'mktemp' | grep -v '^tests/layout/SharedTempPathTest.sh:' || true
})
if [[ -n $found ]]; then
  echo "tests that use the shared temporary folder by name:"
  echo "$found"
  exit 1
fi
echo "no test uses the shared temporary folder by name"
