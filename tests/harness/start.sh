#!/usr/bin/env bash
# Starts a private Xvfb display and a persistent wineserver for one test run,
# creating the test prefix on first use.
#   start.sh STATE_DIR BIN_DIR SANDBOX_DIR ARTIFACT_DIR
# Drives of the prefix: C: its own, X: the programs, S: the sandbox, T: the
# screenshots. The z: link to the host root is removed.
set -eu
CORVEL_STATE=$(realpath -m "$1"); BIN=$(realpath -m "$2"); SANDBOX=$(realpath -m "$3"); ART=$(realpath -m "$4")
mkdir -p "$CORVEL_STATE/home" "$SANDBOX" "$ART"
here=$(dirname "$(realpath "$0")")
"$here/stop.sh" "$CORVEL_STATE" >/dev/null 2>&1 || true

n=77
while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
echo $n > "$CORVEL_STATE/display"
setsid Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp -ac >"$CORVEL_STATE/xvfb.log" 2>&1 < /dev/null &
echo $! > "$CORVEL_STATE/xvfb.pid"
for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
[ -e /tmp/.X11-unix/X$n ] || { echo "Xvfb did not start:"; cat "$CORVEL_STATE/xvfb.log"; exit 1; }

. "$here/env.sh"
if [ ! -f "$CORVEL_PREFIX/.corvel-ready-2" ]; then
  # Emptied, not removed: the short name keeps pointing at it.
  find "$CORVEL_PREFIX" -mindepth 1 -delete
  wineboot -i >"$CORVEL_STATE/wineboot.log" 2>&1
  wineserver -w
  rm -f "$WINEPREFIX/dosdevices/z:"
  # Wine links the profile's shell folders to $HOME; make them real folders.
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm -f "$link"; mkdir -p "$link"; fi
  done
  # Without a window manager, hiding a managed window waits two seconds for
  # the manager's answer; unmanaged windows hide at once.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.corvel-ready-2"
fi
rm -f "$WINEPREFIX/dosdevices/z:"
ln -sfn "$BIN" "$WINEPREFIX/dosdevices/x:"
ln -sfn "$SANDBOX" "$WINEPREFIX/dosdevices/s:"
ln -sfn "$ART" "$WINEPREFIX/dosdevices/t:"

setsid wineserver -p -f >"$CORVEL_STATE/wineserver.log" 2>&1 < /dev/null &
echo $! > "$CORVEL_STATE/wineserver.pid"
sleep 0.3
# The first program of a wineserver starts the prefix's services, and they
# inherit its standard handles: started from a test, they would hold the test's
# output pipe open and ctest would wait for it until the timeout. Start them
# here, detached from every pipe.
setsid wine cmd.exe /c exit 0 >"$CORVEL_STATE/services.log" 2>&1 < /dev/null || true
# Every test runs at 96 DPI unless run-wine-dpi.sh sets another for one
# program; a run killed before it could restore leaves its value behind.
if grep -q '"LogPixels"' "$WINEPREFIX/user.reg" 2>/dev/null; then
  setsid wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 < /dev/null || true
fi
echo "display :$n, prefix $WINEPREFIX"
