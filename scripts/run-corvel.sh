#!/usr/bin/env bash
# Starts the built corvel.exe: natively on Windows (MSYS/Cygwin shells), under
# Wine elsewhere. Without an X display it brings up a private Xvfb display.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
exe="$root/build/windows/bin/corvel.exe"
case "$(uname -s)" in
  MINGW*|MSYS*|CYGWIN*) exec "$exe" ;;
esac
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDEBUG="${WINEDEBUG:--all}"
if [ -z "${DISPLAY:-}" ]; then
  n=50
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true' EXIT
  for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
  export DISPLAY=:$n
  echo "no display set: Corvel runs on the virtual display $DISPLAY"
fi
wine "$exe"
