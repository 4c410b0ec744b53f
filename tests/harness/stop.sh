#!/usr/bin/env bash
# Stops the wineserver and the Xvfb display of a test run.
CORVEL_STATE=$(realpath -m "$1")
here=$(dirname "$(realpath "$0")")
. "$here/env.sh"
wineserver -k >/dev/null 2>&1 || true
for p in wineserver xvfb; do
  if [ -f "$CORVEL_STATE/$p.pid" ]; then
    kill "$(cat "$CORVEL_STATE/$p.pid")" 2>/dev/null || true
    rm -f "$CORVEL_STATE/$p.pid"
  fi
done
rm -f "$CORVEL_STATE/display"
exit 0
