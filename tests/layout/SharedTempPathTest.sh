#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# SharedTempPathTest.sh SOURCE: no test writes a file of a fixed name into the
# machine's shared temporary folder, where another user's file of that name
# would stop it. Tests use a temporary folder of their own (QTemporaryDir,
# mktemp -d) instead.
set -euo pipefail
cd "$1"
found=$({
  grep -rnE --include='*.cpp' --include='*.h' \
    'QDir::tempPath\(\)|QStandardPaths::TempLocation|"/tmp/' tests || true
  grep -rnE --include='*.sh' '/tmp/' tests | grep -v 'mktemp' | grep -v '^tests/layout/SharedTempPathTest.sh:' || true
})
if [[ -n $found ]]; then
  echo "tests that use the shared temporary folder by name:"
  echo "$found"
  exit 1
fi
echo "no test uses the shared temporary folder by name"
