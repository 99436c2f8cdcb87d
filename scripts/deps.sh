#!/usr/bin/env bash
# Installs the Debian packages the game needs (and, with --test, what the tests need).
# As root it runs apt-get; otherwise it prints the exact command and fails.
set -euo pipefail

build_pkgs=(
  build-essential cmake ninja-build pkg-config ccache
  freeglut3-dev libglew-dev libglu1-mesa-dev libgl1-mesa-dri
  libopenal-dev libopenal1 libstb-dev libfreetype-dev libfontconfig-dev fonts-liberation2 fonts-ferrite-core
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev libjpeg62-turbo-dev
  libx11-dev libxrandr-dev libsdl2-dev xdg-utils
)
test_pkgs=(
  libgtest-dev libgmock-dev googletest libbenchmark-dev libbullet-dev
  xvfb xauth xdotool x11-utils imagemagick sox clang libclang-rt-14-dev time
  desktop-file-utils appstream lintian dpkg-dev file
)

pkgs=("${build_pkgs[@]}")
[ "${1:-}" = "--test" ] && pkgs+=("${test_pkgs[@]}")

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

cmd="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Run as root:" >&2
  echo "  apt-get update && $cmd" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
$cmd
