#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Zarnith needs; skips what is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config python3
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev libxkbcommon-dev
  qt6-multimedia-dev qt6-webengine-dev libssl-dev python3-cryptography
  # Qt HTTP Server's CMake package needs Qt WebSockets' but does not depend on it.
  qt6-httpserver-dev qt6-websockets-dev
  libgtest-dev libgmock-dev libbenchmark-dev firefox-esr python3-websockets
  clang libclang-rt-14-dev
  default-jdk-headless default-jre
  xvfb xauth fonts-liberation fonts-dejavu-core xdg-utils clang-format
  dpkg-dev file appstream desktop-file-utils man-db bash-completion lintian
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Zarnith needs these Debian packages, which are not installed yet: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  # sudo -v asks for the password once, before anything is said to be installing.
  if ! command -v sudo >/dev/null || ! sudo -v; then
    script=$(realpath --relative-to=. "$0")
    [[ $script == */* ]] || script=./$script
    echo "Installing them needs root. Run this, here, with root's password:" >&2
    echo "  su -c '$script'" >&2
    exit 1
  fi
  sudo=(sudo)
fi
echo "Installing them with apt-get."
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
