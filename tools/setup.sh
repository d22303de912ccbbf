#!/usr/bin/env bash
# Installs the Debian packages Velmora needs to build, test and run; a ready
# machine installs nothing.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev libgl1-mesa-dev
  libqcustomplot-dev libsimpleini-dev libicu-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdg-utils
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ "${#missing[@]}" -eq 0 ] && exit 0
echo "Installing: ${missing[*]}" >&2
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
