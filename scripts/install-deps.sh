#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages, only when missing.
set -eu
need=()
want() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed" || need+=("$1"); }
for p in cmake make g++ libgtest-dev googletest g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
         binutils-mingw-w64-x86-64 wine wine64 xvfb xauth icoutils; do
  want "$p"
done
[ ${#need[@]} -eq 0 ] && exit 0
echo "installing: ${need[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
