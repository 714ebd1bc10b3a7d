#!/usr/bin/env bash
# Installs the Debian packages mensor needs to build, run and test; with
# --qt6 also those of the Qt 6 build. Quiet and quick when everything is
# already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build clang libclang-rt-14-dev
  qtbase5-dev qttools5-dev qttools5-dev-tools
  qt5-image-formats-plugins kimageformat-plugins qttranslations5-l10n
  libqt5svg5-dev
  libbenchmark-dev libjpeg62-turbo-dev libjpeg-turbo-progs pkg-config
  xvfb xauth xdotool xclip x11-utils python3
  imagemagick
  desktop-file-utils appstream dpkg-dev file lintian
  libheif-examples
)
if [ "${1:-}" = "--qt6" ]; then
  packages+=(qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
             qt6-image-formats-plugins qt6-translations-l10n libgl-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
