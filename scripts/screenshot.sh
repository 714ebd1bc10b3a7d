#!/usr/bin/env bash
# Takes the README's screenshot under a virtual X server: docs/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/tools -G Ninja -DCMAKE_BUILD_TYPE=Release -DMENSOR_TOOLS=ON >/dev/null
cmake --build build/tools --target mensor_screenshot
mkdir -p docs
xvfb-run -a -s '-screen 0 1400x900x24' build/tools/scripts/screenshot/mensor_screenshot examples/workbench.jpg docs/screenshot.png
