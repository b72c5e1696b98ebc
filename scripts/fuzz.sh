#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the libFuzzer targets with clang and runs each for a number of
# seconds (default 30), seeding the corpus from the kit, the test data and
# tests/fuzz/seeds/<target> where they fit.
#   scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
shift || true
build=build/fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -DRM42_FUZZ=ON -DRM42_BUILD_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if (($# == 0)); then
  set -- $(basename -s .cpp tests/fuzz/Fuzz*.cpp)
fi
cmake --build "$build" -j2 --target "$@"

# seed <corpus> <folder> <name pattern>: copies matching files at any depth.
seed() {
  local file
  find "$2" -iname "$3" -type f -print0 | while IFS= read -r -d '' file; do
    cp "$file" "$1/seed-$(echo "${file#"$2"/}" | tr ' /' '__')"
  done
}

failed=()
for target in "$@"; do
  corpus="$build/corpus/$target"
  artifacts="$build/artifacts/$target/"
  mkdir -p "$corpus" "$artifacts"
  case "$target" in
    FuzzXifReader | FuzzProgramIdOfFile)
      seed "$corpus" lnssim/kit/Import "*.XIF"
      seed "$corpus" tests/lnssim/objectserver/data/xif-samples "*.xif"
      ;;
    FuzzDatabaseCodec) seed "$corpus" lnssim/kit/Databases network.json ;;
  esac
  # Saved inputs of the target's own, where there are some.
  if [[ -d "tests/fuzz/seeds/$target" ]]; then
    seed "$corpus" "tests/fuzz/seeds/$target" "*"
  fi
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
    -artifact_prefix="$artifacts")
  [[ -f "tests/fuzz/$target.dict" ]] && options+=(-dict="tests/fuzz/$target.dict")
  echo "== $target for ${seconds}s"
  if ! "$build/bin/$target" "${options[@]}" "$corpus"; then
    failed+=("$target")
  fi
done

if ((${#failed[@]})); then
  echo "Findings (inputs in $build/artifacts): ${failed[*]}" >&2
  exit 1
fi
echo "No findings."
