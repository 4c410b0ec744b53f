#!/usr/bin/env bash
# rm -rf of the tree cleaner_bench.exe cleaned, built the same way on the
# host, and the ratio to the engine's time under Wine.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
tree=$root/build/test-sandbox/cleaner-bench-native-$$
wine_time=$(cat "$root/build/test-artifacts/cleaner_bench.txt" 2>/dev/null) || { echo "no Wine figure"; exit 1; }
mkdir -p "$tree"
level=("")
all=()
for fan in 10 4 4 4; do
  next=()
  for p in "${level[@]}"; do for ((i = 0; i < fan; i++)); do next+=("$p/d$i"); done; done
  all+=("${next[@]}"); level=("${next[@]}")
done
for ((i = 0; i < 1150; i++)); do all+=("${level[i % ${#level[@]}]}/e$((i / ${#level[@]}))"); done
for f in "${all[@]}"; do
  mkdir -p "$tree$f"
  for ((i = 0; i < 10; i++)); do printf 0123456789 > "$tree$f/f$i.tmp"; done
done
start=$(date +%s.%N)
rm -rf "$tree"
end=$(date +%s.%N)
awk -v s="$start" -v e="$end" -v w="$wine_time" \
  'BEGIN { n = e - s; printf "native rm -rf %.3f s; engine under Wine %.3f s; ratio %.1f\n", n, w, w / n }'
