# Sourced by the harness scripts: the private Wine prefix and display of a test run.
# Nothing here reaches the user's own ~/.wine or X display.
: "${CORVEL_STATE:?}"
# The prefix lives in the state folder; Wine is given it under a short name
# in /tmp, since Wine hands the host "<prefix>/dosdevices/<drive>/<path>" and
# a deep path of the tests must stay within the host's path limit however
# long the checkout's own path is.
export CORVEL_PREFIX="$CORVEL_STATE/prefix"
export WINEPREFIX="/tmp/corvel-wine-$(printf %s "$CORVEL_STATE" | md5sum | cut -c1-10)"
mkdir -p "$CORVEL_PREFIX"
[ "$(readlink "$WINEPREFIX" 2>/dev/null)" = "$CORVEL_PREFIX" ] || ln -sfn "$CORVEL_PREFIX" "$WINEPREFIX"
export HOME="$CORVEL_STATE/home"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
unset XAUTHORITY
if [ -f "$CORVEL_STATE/display" ]; then
  export DISPLAY=":$(cat "$CORVEL_STATE/display")"
fi
