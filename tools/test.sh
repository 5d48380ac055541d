#!/usr/bin/env bash
# Installs what is missing, builds the presets and runs every test: the unit tests natively
# (with AddressSanitizer and UndefinedBehaviorSanitizer), a short fixed run of every fuzz target,
# then the end-to-end tests under Wine, with the ZIP and the MSI built and their tests.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

cmake --preset native
cmake --build --preset native
ctest --preset native

cmake --preset fuzz
cmake --build --preset fuzz
ctest --preset fuzz

cmake --preset mingw
cmake --build --preset mingw
cmake --build --preset mingw --target package package_tests
ctest --preset mingw
