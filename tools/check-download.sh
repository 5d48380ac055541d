#!/usr/bin/env bash
# Checks that a release's downloads were built from this checkout's commit: builds them again and
# compares. The ZIP must be the same bytes. The MSI must be too, up to its own signature: for a
# signed one, its Authenticode digest, which leaves the signature out, must equal that of the
# rebuild signed with a certificate made here for the purpose. A signed Tessaro.scr counts as
# built here when its signature, attached to the program built here, signs the program's bytes;
# the rebuild then carries that very program. (README.md, Checking a download.)
#
#   tools/check-download.sh ZIP MSI [BUILD_FOLDER]    (BUILD_FOLDER: build/check)
set -euo pipefail
zip=$(realpath "$1")
msi=$(realpath "$2")
cd "$(dirname "$0")/.."
build=$(realpath -m "${3:-build/check}")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unset TESSARO_SIGNING_CERT TESSARO_SIGNING_PASSWORD_FILE TESSARO_TIMESTAMP_URL TESSARO_PROGRAM_SIGNATURE

digest() { { osslsigncode verify -in "$1" 2>/dev/null || true; } | sed -En 's/^Calculated (message digest|DigitalSignature) *: *([0-9A-F]+).*/\2/p'; }

(cd "$scratch" && cmake -E tar xf "$zip" Tessaro/Tessaro.scr)
if osslsigncode extract-signature -in "$scratch/Tessaro/Tessaro.scr" -out "$scratch/program.sig" >/dev/null 2>&1; then
  export TESSARO_PROGRAM_SIGNATURE=$scratch/program.sig
fi
msi_signed=0
if osslsigncode extract-signature -in "$msi" -out "$scratch/msi.sig" >/dev/null 2>&1; then
  msi_signed=1
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$scratch/key.pem" -out "$scratch/cert.pem" -days 1 \
    -subj "/CN=Tessaro rebuild" 2>/dev/null
  openssl pkcs12 -export -inkey "$scratch/key.pem" -in "$scratch/cert.pem" -out "$scratch/rebuild.p12" -passout pass:
  export TESSARO_SIGNING_CERT=$scratch/rebuild.p12
fi

cmake --preset mingw -B "$build" >/dev/null
cmake --build "$build" --target package >/dev/null
rebuilt_zip=$build/$(basename "$zip")
rebuilt_msi=$build/$(basename "$msi")

status=0
if cmp -s "$zip" "$rebuilt_zip"; then echo "the ZIP is the same bytes"; else echo "the ZIP DIFFERS"; status=1; fi
if ((msi_signed)); then
  ours=$(digest "$msi")
  if [[ -n $ours && $ours == "$(digest "$rebuilt_msi")" ]]; then
    echo "the MSI has the same Authenticode digest: $ours"
  else
    echo "the MSI's Authenticode digest DIFFERS"; status=1
  fi
elif cmp -s "$msi" "$rebuilt_msi"; then echo "the MSI is the same bytes"; else echo "the MSI DIFFERS"; status=1; fi
exit $status
