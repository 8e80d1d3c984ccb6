#!/bin/sh
# Writes docs/main-window.png: the main window with the sample bank open, rendered by the
# screenshot test program (a fresh temporary program directory, so DATA and ÖRNEK.DB are new).
set -eu
BUILD=${1:-build}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
cmake --build "$BUILD" --target app_ui_screenshot_test >/dev/null
OUT="$ROOT/docs/main-window.png"
TEST="$BUILD/tests/app_ui_screenshot_test"
if command -v xvfb-run >/dev/null 2>&1; then
    TOVEK_SCREENSHOT="$OUT" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 \
        xvfb-run -a -s "-screen 0 1024x768x24" "$TEST" -silent
else
    TOVEK_SCREENSHOT="$OUT" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "$TEST" -silent
fi
echo "wrote $OUT"
