#!/usr/bin/env bash
# Runs one test without the whole suite; the build must be there (make build).
#   scripts/run-test.sh unit [FILTER]           native unit cases, e.g. 'PathParts.*'
#   scripts/run-test.sh win PROGRAM [FILTER]    one Windows test program under Wine,
#                                               e.g. win sysinfo_window_test 'MainWindow.Quit*'
#   scripts/run-test.sh gui [DPI]               the GUI driver against corvel.exe,
#                                               at 96 DPI or the one given (e.g. 144)
# The Wine runs start the private harness (Xvfb, wineserver, the test prefix in
# build/native/wine) around the one program and stop it afterwards; dpi_test
# runs at 144 DPI, as in ctest.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
harness=$root/tests/harness
state=$root/build/native/wine
bin=$root/build/windows/bin
kind=${1:-}; shift || true

harness_up() {
  "$harness/start.sh" "$state" "$bin" "$root/build/test-sandbox" "$root/build/test-artifacts" >/dev/null
  trap '"$harness/stop.sh" "$state" >/dev/null 2>&1' EXIT
}

case "$kind" in
  unit)
    exec "$root/build/native/unit_tests" ${1:+--gtest_filter="$1"} ;;
  win)
    program=${1:?which test program (tests/win/NAME.cpp without .cpp)}
    [ -f "$bin/$program.exe" ] || { echo "no $bin/$program.exe: build the windows preset"; exit 1; }
    harness_up
    if [ "$program" = dpi_test ]; then
      "$harness/run-wine-dpi.sh" "$state" 144 "X:\\$program.exe" ${2:+--gtest_filter="$2"}
    else
      "$harness/run-wine.sh" "$state" "X:\\$program.exe" ${2:+--gtest_filter="$2"}
    fi ;;
  gui)
    harness_up
    if [ -n "${1:-}" ]; then
      "$harness/run-wine-dpi.sh" "$state" "$1" 'X:\gui_driver.exe' 'X:\corvel.exe' "T:\\dpi$1" --dpi "$1"
    else
      "$harness/run-wine.sh" "$state" 'X:\gui_driver.exe' 'X:\corvel.exe' 'T:\'
    fi ;;
  *)
    sed -n '2,10p' "$0"; exit 2 ;;
esac
