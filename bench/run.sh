#!/usr/bin/env bash
# Runs the benchmarks under Wine, in a prefix and display of their own, and
# prints their figures. Not a test: no figure makes it fail; the exit status
# says only whether every benchmark could measure.
#   bench/run.sh                  every benchmark (bench/NAME/ builds NAME_bench.exe)
#   bench/run.sh NAME [ARGS...]   one benchmark with its own arguments, e.g.
#   bench/run.sh startup 'X:\Tessel.exe' 'Manage system restore'
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
state=$root/build/bench-wine
bin=$root/build/windows/bin
harness=$root/tests/harness

names=()
if [ $# -gt 0 ]; then
  names=("$1"); shift
else
  for d in "$root"/bench/*/; do
    [ -f "$d/CMakeLists.txt" ] && names+=("$(basename "$d")")
  done
fi

trap '"$harness/stop.sh" "$state" >/dev/null 2>&1' EXIT
"$harness/start.sh" "$state" "$bin" "$root/build/test-sandbox" "$root/build/test-artifacts" ||
  { echo "bench: the Wine harness did not start"; exit 1; }

status=0
for name in "${names[@]}"; do
  exe="${name}_bench.exe"
  echo "== $name"
  if [ ! -f "$bin/$exe" ]; then
    echo "$name: $bin/$exe is missing (build the windows preset)"; status=1; continue
  fi
  "$harness/run-wine.sh" "$state" "X:\\$exe" "$@" || { echo "$name: could not measure"; status=1; continue; }
  # A benchmark may compare with a native figure of its own.
  if [ -x "$root/bench/$name/native.sh" ]; then "$root/bench/$name/native.sh" || status=1; fi
done
exit $status
