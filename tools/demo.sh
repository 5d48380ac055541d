#!/usr/bin/env bash
# Runs the real Tessaro.scr on the 46 demo slides under Wine and keeps a screenshot of each
# slide in out/demo/, then ends the saver with a key press.
#
#   tools/demo.sh            all 46 slides, ten seconds each (about eight minutes)
#   DEMO_SLIDES=5 tools/demo.sh   only the first five
#
# Uses $DISPLAY when there is one, otherwise a private Xvfb at 1024x768.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
slides=${DEMO_SLIDES:-46}

tools/install-deps.sh
cmake --preset mingw
cmake --build --preset mingw --target Tessaro demo_capture demo_slides

state=$root/build/mingw/wine-demo
if [ -n "${DISPLAY:-}" ]; then export TESSARO_USE_DISPLAY=1; fi
trap 'tools/wine-session.sh stop "$state"' EXIT
tools/wine-session.sh start "$state"

mkdir -p out/demo
rm -f out/demo/slide-*.png
# shellcheck disable=SC1090,SC1091
source "$state/session.env"
windows_path() { winepath -w "$1" 2>/dev/null; }
tools/wine-session.sh run "$state" build/mingw/demo_capture.exe \
  "$(windows_path "$root/build/mingw/demo/Tessaro.scr")" "$(windows_path "$root/out/demo")" "$slides"
echo "Screenshots: $root/out/demo/"
