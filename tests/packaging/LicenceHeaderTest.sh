#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# LicenceHeaderTest.sh SOURCE: every source file of the project names its
# licence on its first line (the second after a #! line):
#   C++ (.cpp, .h):                                   // SPDX-License-Identifier: Apache-2.0
#   CMake, shell, Python, bash completions:           # SPDX-License-Identifier: Apache-2.0
# Third-party test data keeps its own licence and is not looked at.
set -euo pipefail
cd "$1"
if [[ -d .git || -f .git ]]; then
  list() { git ls-files -- "$@"; }
else
  # A source tree without git: the same patterns, build folders left out.
  list() {
    local pattern tests=()
    for pattern; do
      if [[ $pattern == */* ]]; then tests+=(-o -path "./$pattern"); else tests+=(-o -name "$pattern"); fi
    done
    find . -path ./build -prune -o -type f \( "${tests[@]:1}" \) -print | sed 's:^\./::'
  }
fi
missing=0
check() {
  local file=$1 header=$2 first second
  { IFS= read -r first || true; IFS= read -r second || true; } <"$file"
  [[ $first == "$header" || ($first == '#!'* && $second == "$header") ]] && return
  echo "no licence header: $file (expected \"$header\")"
  missing=$((missing + 1))
}
while IFS= read -r file; do
  check "$file" '// SPDX-License-Identifier: Apache-2.0'
done < <(list '*.cpp' '*.h' | grep -v '^tests/lnssim/objectserver/data/')
while IFS= read -r file; do
  check "$file" '# SPDX-License-Identifier: Apache-2.0'
done < <(list '*CMakeLists.txt' '*.cmake' '*.sh' '*.py' 'packaging/*/completions/*' | grep -v '^tests/lnssim/objectserver/data/')
((missing == 0)) && echo "every source file names its licence"
exit $((missing > 0))
