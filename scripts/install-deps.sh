#!/usr/bin/env bash
# Installs every Debian package needed to build, run and test Quorlin.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools
  qt6-declarative-dev qt6-webengine-dev qt6-webengine-dev-tools qt6-qpa-plugins
  libqscintilla2-qt6-dev
  libjpeg62-turbo-dev libxml2-dev libcurl4-openssl-dev
  qt6-svg-dev libemf2svg-dev libwmf-dev fonts-urw-base35
  libgl-dev libglx-dev libegl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core xdg-user-dirs
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
