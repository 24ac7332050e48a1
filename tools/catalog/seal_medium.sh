#!/usr/bin/env bash
# Makes the driver package's catalog lx220.cat in a laid-out medium and,
# when LX_SIGN_PKCS12 names a code-signing certificate, signs every PE file
# of the medium and then the catalog (SHA-256, time-stamped when
# LX_SIGN_TIMESTAMP_URL names a server; LX_SIGN_PASSWORD_FILE holds the
# PKCS#12 password). Ends with the medium check. Any failure ends the run
# non-zero, and the caller throws the medium away: none is half signed.
# usage: seal_medium.sh MEDIUM_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
medium=${1:?usage: seal_medium.sh MEDIUM_FOLDER}
pkcs12=${LX_SIGN_PKCS12:-}
password_file=${LX_SIGN_PASSWORD_FILE:-}
timestamp=${LX_SIGN_TIMESTAMP_URL:-}
if [ -n "$pkcs12" ] && ! command -v osslsigncode >/dev/null; then
  echo "signing: osslsigncode is not installed (apt-get install osslsigncode)" >&2; exit 1
fi

mapfile -t package < <("$here/catalog.py" files "$medium")
[ ${#package[@]} -gt 1 ] || { echo "catalog: the medium names no driver package files" >&2; exit 1; }

log=$(mktemp)
trap 'rm -f "$log"' EXIT
# sign FILE: signs FILE in place.
sign() {
  local args=(sign -pkcs12 "$pkcs12" -h sha256 -in "$1" -out "$1.signed")
  [ -n "$password_file" ] && args+=(-readpass "$password_file")
  [ -n "$timestamp" ] && args+=(-ts "$timestamp")
  if ! osslsigncode "${args[@]}" >"$log" 2>&1 || [ ! -s "$1.signed" ]; then
    rm -f "$1.signed"
    echo "signing ${1#"$medium"/} failed:" >&2; cat "$log" >&2; exit 1
  fi
  mv "$1.signed" "$1"
}

signed=0
if [ -n "$pkcs12" ]; then
  # Every PE file of the medium: the driver package's and the programs'.
  while IFS= read -r -d '' f; do
    if [ "$(head -c 2 "$f")" = MZ ]; then sign "$f"; signed=$((signed + 1)); fi
  done < <(find "$medium" -type f \( -iname '*.dll' -o -iname '*.exe' \) -print0)
fi
# The catalog hashes the files as signed: an image's signature is no part
# of its Authenticode hash, but signing pads the image.
"$here/catalog.py" make "$medium/lx220.cat" "$medium" "${package[@]}"
if [ -n "$pkcs12" ]; then
  sign "$medium/lx220.cat"
  echo "signed: lx220.cat and $signed PE files with $(basename "$pkcs12")${timestamp:+, time-stamped by $timestamp}"
else
  echo "unsigned: no code-signing certificate named (LX_SIGN_PKCS12); Windows will not stage this driver package"
fi
"$here/../mediumcheck/check_medium.py" "$medium"
