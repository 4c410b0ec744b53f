# Sourced by the harness scripts: the private Wine prefix and display of a test run.
# Nothing here reaches the user's own ~/.wine or X display.
: "${CORVEL_STATE:?}"
export WINEPREFIX="$CORVEL_STATE/prefix"
export HOME="$CORVEL_STATE/home"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
unset XAUTHORITY
if [ -f "$CORVEL_STATE/display" ]; then
  export DISPLAY=":$(cat "$CORVEL_STATE/display")"
fi
