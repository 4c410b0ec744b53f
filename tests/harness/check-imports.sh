#!/usr/bin/env bash
# Fails when a program imports a DLL that Windows does not ship (the run-time
# libraries must be linked in statically), or loads at start a DLL that is
# meant to be delay-loaded (its .def in cmake/delayload misses a function).
set -eu
status=0
for exe in "$@"; do
  [ -f "$exe" ] || { echo "missing: $exe"; status=1; continue; }
  dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  echo "$(basename "$exe"): $(echo $dlls)"
  if echo "$dlls" | grep -i -E 'libstdc|libgcc|libwinpthread|mingw' >/dev/null; then
    echo "  imports a run-time DLL"; status=1
  fi
  for def in "$(dirname "$0")"/../../cmake/delayload/*.def; do
    dll=$(sed -n 's/^LIBRARY "\(.*\)"/\1/p' "$def")
    if echo "$dlls" | grep -i -x -F "$dll" >/dev/null; then
      echo "  loads $dll at start: a function it calls is missing from $(basename "$def")"; status=1
    fi
  done
done
exit $status
