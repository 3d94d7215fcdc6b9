#!/usr/bin/env bash
# Pictures of the menu, preview, About and offset windows and of the
# calibration page for the README (docs/*.png), taken from the real windows
# under a virtual X server.
# Usage: scripts/screenshots.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target kvalon_screenshots
KVALON_SCREENSHOT_DIR="$root/docs" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    "$build/tests/kvalon_screenshots"
echo "Written: $root/docs/menu-window.png, preview-window.png, about-window.png," \
    "offset-dialog.png, calibration-page.png"
