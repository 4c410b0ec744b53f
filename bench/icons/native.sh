#!/usr/bin/env bash
# wrestool -x -t14 of the same shell32.dll of the bench prefix into an empty
# folder, natively, five times, and the ratio of Corvel's median under Wine
# to wrestool's median.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
library=$root/build/bench-wine/prefix/drive_c/windows/system32/shell32.dll
read -r wine_time groups < "$root/build/test-artifacts/icons_bench.txt" 2>/dev/null || { echo "no Wine figure"; exit 1; }
command -v wrestool >/dev/null || { echo "wrestool is missing (icoutils)"; exit 1; }
[ -f "$library" ] || { echo "no $library"; exit 1; }
times=()
for run in 1 2 3 4 5; do
  out=$root/build/test-sandbox/icons-bench-native-$$-$run
  mkdir -p "$out"
  start=$(date +%s.%N)
  wrestool -x -t14 -o "$out/" "$library"
  end=$(date +%s.%N)
  files=$(find "$out" -name '*.ico' | wc -l)
  rm -rf "$out"
  times+=("$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.6f", e - s }')")
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
awk -v n="$median" -v w="$wine_time" -v g="$groups" -v f="$files" \
  'BEGIN { printf "wrestool -x -t14 natively: median %.3f s, %d files, %.0f groups/s; Corvel under Wine %.3f s, %.0f groups/s; ratio Corvel/wrestool %.2f\n", n, f, f / n, w, g / w, w / n }'
