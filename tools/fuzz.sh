#!/usr/bin/env bash
# Fuzzes the platform-free code for as long as one likes: every libFuzzer target in turn, for the
# given number of seconds each (default 60), or only the targets named after it.
#   tools/fuzz.sh [seconds per target] [target...]      e.g. tools/fuzz.sh 600 exif
# Each target starts from its seeds (tests/fuzz/seeds/<target>) and from what earlier runs learnt
# (build/fuzz/corpus/<target>), and writes what it learns there only, never into the repository.
# A finding stops that target, is kept in build/fuzz/findings/, and makes the script fail at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
if (($#)); then
  targets=("$@")
else
  targets=()
  for source in tests/fuzz/*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

mkdir -p build/fuzz/findings
failed=()
for target in "${targets[@]}"; do
  mkdir -p "build/fuzz/corpus/$target"
  echo "== $target: $seconds s"
  if ! "build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix=build/fuzz/findings/ "build/fuzz/corpus/$target" "tests/fuzz/seeds/$target"; then
    failed+=("$target")
  fi
done
if ((${#failed[@]})); then
  echo "Findings in: ${failed[*]} (inputs in build/fuzz/findings/)" >&2
  exit 1
fi
