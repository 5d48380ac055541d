#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test: the unit tests natively
# (with AddressSanitizer and UndefinedBehaviorSanitizer), then the end-to-end tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

cmake --preset native
cmake --build --preset native
ctest --preset native

cmake --preset mingw
cmake --build --preset mingw
ctest --preset mingw
