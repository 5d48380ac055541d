#!/usr/bin/env bash
# Signing the downloads with a certificate this test makes, in the build folder's own package
# target: both verify, and a changed byte does not; Windows' trust check (Wine's WinVerifyTrust)
# tells a signed program from a changed one, and a signed MSI from an unsigned one; a rebuild
# signed with another certificate has the same digests (tools/check-download.sh); a wrong password
# fails the build and leaves no download; and without a certificate the build says once that it
# does not sign. The downloads are built unsigned again at the end.
#
#   signing_test.sh SOURCE_DIR BUILD_DIR WINE_STATE
set -euo pipefail
source=$1 build=$2 wine_state=$3
scratch=$(mktemp -d)
unset TESSARO_SIGNING_CERT TESSARO_SIGNING_PASSWORD_FILE TESSARO_TIMESTAMP_URL TESSARO_PROGRAM_SIGNATURE
package() { cmake --build "$build" --target package 2>&1; }
trap 'unset TESSARO_SIGNING_CERT TESSARO_SIGNING_PASSWORD_FILE; package >/dev/null; rm -rf "$scratch"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
zip=$(ls "$build"/Tessaro-*-win64.zip) msi=$(ls "$build"/Tessaro-*-win64.msi)

# What Wine's WinVerifyTrust answers for a file: 0x00000000 when it trusts the signature.
trust() { "$source/tools/wine-session.sh" run "$wine_state" "$build/trust_check.exe" "Z:${1//\//\\}" 2>/dev/null | tr -d '\r'; }

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$scratch/key.pem" -out "$scratch/cert.pem" -days 2 \
  -subj "/CN=Tessaro signing test" 2>/dev/null
echo "a password" >"$scratch/password"
openssl pkcs12 -export -inkey "$scratch/key.pem" -in "$scratch/cert.pem" -out "$scratch/signer.p12" \
  -passout "file:$scratch/password"
export TESSARO_SIGNING_CERT=$scratch/signer.p12 TESSARO_SIGNING_PASSWORD_FILE=$scratch/password
package >"$scratch/signed.log" || { cat "$scratch/signed.log"; fail "the signed build failed"; }

(cd "$scratch" && cmake -E tar xf "$zip" Tessaro/Tessaro.scr)
for download in "$scratch/Tessaro/Tessaro.scr" "$msi"; do
  name=$(basename "$download")
  osslsigncode verify -CAfile "$scratch/cert.pem" -in "$download" >/dev/null || fail "$name does not verify"
  [[ $(trust "$download") == 0x00000000 ]] || fail "Windows does not trust the signed $name"
  tampered=$scratch/tampered-$name
  cp "$download" "$tampered"
  printf '\x5a' | dd of="$tampered" bs=1 seek=$(($(stat -c %s "$tampered") / 3)) conv=notrunc 2>/dev/null
  osslsigncode verify -CAfile "$scratch/cert.pem" -in "$tampered" >/dev/null && fail "$name with a changed byte verifies"
done
# Wine checks the digest of a program, not of an MSI.
[[ $(trust "$scratch/tampered-Tessaro.scr") == 0x80096010 ]] || fail "Windows trusts a changed Tessaro.scr" # TRUST_E_BAD_DIGEST

mkdir "$scratch/release"
cp "$zip" "$msi" "$scratch/release/"
"$source/tools/check-download.sh" "$scratch/release/$(basename "$zip")" "$scratch/release/$(basename "$msi")" "$build" \
  || fail "a rebuild signed with another certificate is not the same up to its signatures"

echo "not the password" >"$scratch/wrong"
TESSARO_SIGNING_PASSWORD_FILE=$scratch/wrong package >"$scratch/wrong.log" && fail "a wrong password built"
grep -q "cannot sign Tessaro.scr" "$scratch/wrong.log" || { cat "$scratch/wrong.log"; fail "no clear message"; }
for download in "$zip" "$msi" "$build/SHA256SUMS"; do
  [[ ! -e $download ]] || fail "$(basename "$download") was left after a failed signing"
done

unset TESSARO_SIGNING_CERT TESSARO_SIGNING_PASSWORD_FILE
said=$(package | grep -c "not signed")
[[ $said == 1 ]] || fail "an unsigned build said $said times that it does not sign"
[[ $(trust "$msi") == 0x800B0100 ]] || fail "Windows finds a signature in the unsigned MSI" # TRUST_E_NOSIGNATURE
(cd "$build" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the downloads"
echo "signed downloads verify and rebuild; unsigned ones build"
