#!/usr/bin/env bash
# Builds the downloads of the checkout's last commit twice, from two clones in folders of
# different names, one after the other, and fails unless both builds made the same bytes:
# Tessaro.scr, the ZIP, the MSI and SHA256SUMS. Unsigned, whatever the environment says.
#
#   tools/check-reproducible.sh [SCRATCH_FOLDER]     (two to three minutes)
set -euo pipefail
source=$(cd "$(dirname "$0")/.." && pwd)
scratch=${1:-$(mktemp -d)}
unset TESSARO_SIGNING_CERT TESSARO_SIGNING_PASSWORD_FILE TESSARO_TIMESTAMP_URL TESSARO_PROGRAM_SIGNATURE SOURCE_DATE_EPOCH

outputs=()
for clone in "$scratch/first" "$scratch/second-of-two-builds"; do
  rm -rf "$clone"
  git clone --quiet "$source" "$clone"
  (cd "$clone" && cmake --preset mingw >/dev/null && cmake --build --preset mingw --target package >/dev/null)
  outputs+=("$clone/build/mingw")
done

status=0
for file in shipped/Tessaro.scr "$(cd "${outputs[0]}" && ls Tessaro-*-win64.zip)" \
            "$(cd "${outputs[0]}" && ls Tessaro-*-win64.msi)" SHA256SUMS; do
  if cmp -s "${outputs[0]}/$file" "${outputs[1]}/$file"; then
    echo "same bytes: $file"
  else
    echo "DIFFERENT: $file"
    status=1
  fi
done
exit $status
