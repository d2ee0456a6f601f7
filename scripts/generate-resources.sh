#!/usr/bin/env bash
# Redraws the editor's pictures (resources/*.bmp) after a change to their
# generator. Not part of the build: the BMP files are committed. Installs
# Pillow and the fonts with apt-get when they are missing, like setup.sh.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages=(python3 python3-pil fonts-dejavu-core fonts-dejavu-extra)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The system's interpreter, which the Debian Pillow belongs to (not one on PATH
# from a version manager).
/usr/bin/python3 -B "$root/resources/make_pictures.py"
