#!/usr/bin/env bash
# Runs one Windows program inside the test prefix at another DPI:
#   run-wine-dpi.sh STATE_DIR DPI PROGRAM [ARGS...]
# Wine reads HKCU\Control Panel\Desktop\LogPixels when a process starts; it is
# set for this one program and removed again afterwards, so the other tests
# keep running at 96 DPI (start.sh also removes one left by a killed run).
set -eu
CORVEL_STATE=$(realpath -m "$1"); dpi=$2; shift 2
. "$(dirname "$(realpath "$0")")/env.sh"
[ -n "${DISPLAY:-}" ] || { echo "the test display is not running (harness.start)"; exit 1; }
key='HKCU\Control Panel\Desktop'
restore() { wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1 || true; }
trap restore EXIT
wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
status=0
wine "$@" || status=$?
exit $status
