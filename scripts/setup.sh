#!/usr/bin/env bash
# Installs what the build, the tests and the demo need on a fresh Debian 12 machine.
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

packages=(cmake g++ make googletest libgtest-dev libpng-dev binutils pkg-config
          libsndfile1-dev nlohmann-json3-dev libcli11-dev sox ffmpeg python3 time
          mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          wine wine32 wine64 xvfb xauth
          libx11-dev libcairo2-dev libxres-dev libxtst-dev fonts-liberation fonts-urw-base35
          lv2-dev lilv-utils sordi lv2file jalv jackd2 ardour zzuf
          help2man dpkg-dev lintian chromium)

missing=()
for p in "${packages[@]}"; do
  arch_p=$p
  [ "$p" = wine32 ] && arch_p=wine32:i386
  dpkg-query -W -f='${Status}' "$arch_p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$arch_p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# wine32 is an i386 package: the 32-bit plug-ins and test programs need it.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
