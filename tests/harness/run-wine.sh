#!/usr/bin/env bash
# Runs one Windows program inside the test prefix and display: run-wine.sh STATE_DIR PROGRAM [ARGS...]
set -eu
CORVEL_STATE=$(realpath -m "$1"); shift
. "$(dirname "$(realpath "$0")")/env.sh"
[ -n "${DISPLAY:-}" ] || { echo "the test display is not running (harness.start)"; exit 1; }
exec wine "$@"
