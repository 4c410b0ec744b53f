#!/usr/bin/env bash
# Fails when a program imports a DLL that Windows does not ship (the run-time
# libraries must be linked in statically).
set -eu
status=0
for exe in "$@"; do
  [ -f "$exe" ] || { echo "missing: $exe"; status=1; continue; }
  dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  echo "$(basename "$exe"): $(echo $dlls)"
  if echo "$dlls" | grep -i -E 'libstdc|libgcc|libwinpthread|mingw' >/dev/null; then
    echo "  imports a run-time DLL"; status=1
  fi
done
exit $status
