#!/usr/bin/env bash
# Takes the README's screenshot under a virtual X server: docs/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/tools -G Ninja -DCMAKE_BUILD_TYPE=Release -DMENSOR_TOOLS=ON >/dev/null
cmake --build build/tools --target mensor_screenshot
mkdir -p docs
# From a folder whose path names no user: the window shows it.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/examples"
cp examples/workbench.jpg "$work/examples/"
xvfb-run -a -s '-screen 0 1400x900x24' env HOME="$work" \
  build/tools/scripts/screenshot/mensor_screenshot "$work/examples/workbench.jpg" docs/screenshot.png
