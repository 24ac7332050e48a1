#!/usr/bin/env bash
# The catalog round trip on a medium laid out from the two build trees:
# sealed unsigned it passes its checks and says "unsigned"; sealed with a
# test certificate made here, osslsigncode accepts every PE file's own
# signature and finds each PE file in the signed catalog, openssl accepts
# the catalog's signature, and the catalog check finds every file's
# hashes; one changed byte in any covered file fails the check naming the
# file. A wrong password stops the sealing. Files that cannot go into a
# catalog get an error naming them, and no catalog.
# usage: catalog_test.sh WIN64_BUILD_DIR WIN32_BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tool=$here/catalog.py
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for b in "$1" "$2"; do
  cmake --install "$b" --prefix "$work/medium" >/dev/null || { echo "cannot lay out the medium from $b"; exit 1; }
done
fail=0
no() { echo "FAIL: $*"; fail=1; }

# Unsigned.
cp -r "$work/medium" "$work/unsigned"
out=$("$here/seal_medium.sh" "$work/unsigned" 2>&1) || no "the unsigned medium fails: $out"
grep -q '^unsigned: ' <<<"$out" && grep -q '^medium ok$' <<<"$out" || no "the unsigned sealing does not say so: $out"
echo "unsigned: $(grep '^unsigned: ' <<<"$out")"

# A self-signed code-signing certificate, made now and never kept.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
  -subj "/CN=Label driver test signer" -addext "extendedKeyUsage=codeSigning" \
  -addext "keyUsage=digitalSignature" 2>/dev/null || { echo "openssl cannot make a certificate"; exit 1; }
echo "test-only $RANDOM" >"$work/password"
openssl pkcs12 -export -in "$work/cert.pem" -inkey "$work/key.pem" -out "$work/signer.p12" \
  -passout "file:$work/password" || { echo "openssl cannot make a PKCS#12 file"; exit 1; }

# A wrong password stops the sealing before any catalog exists.
cp -r "$work/medium" "$work/refused"
echo wrong >"$work/wrong"
if LX_SIGN_PKCS12=$work/signer.p12 LX_SIGN_PASSWORD_FILE=$work/wrong "$here/seal_medium.sh" "$work/refused" >"$work/out" 2>&1; then
  no "sealing with a wrong password succeeded"
elif [ -e "$work/refused/lx220.cat" ]; then
  no "sealing with a wrong password left a catalog"
else
  echo "wrong password: $(grep -m1 'signing .* failed' "$work/out")"
fi

# Signed.
m=$work/medium
out=$(LX_SIGN_PKCS12=$work/signer.p12 LX_SIGN_PASSWORD_FILE=$work/password "$here/seal_medium.sh" "$m" 2>&1) ||
  no "the signed sealing fails: $out"
grep -q '^signed: lx220.cat and [1-9][0-9]* PE files' <<<"$out" || no "the signed sealing does not say so: $out"
echo "signed: $(grep '^signed: ' <<<"$out")"
mapfile -t package < <("$tool" files "$m")
version=$(osslsigncode --version 2>&1 | sed -n '1s/^osslsigncode \([0-9]*\)\.\([0-9]*\).*/\1 \2/p')
catalog_road=osslsigncode
# Before 2.8 osslsigncode verifies no file against a catalog.
if [ -z "$version" ] || [ "${version% *}" -lt 2 ] || { [ "${version% *}" -eq 2 ] && [ "${version#* }" -lt 8 ]; }; then
  catalog_road=openssl
fi
pe=0
while IFS= read -r -d '' f; do
  [ "$(head -c 2 "$f")" = MZ ] || continue
  pe=$((pe + 1))
  osslsigncode verify -CAfile "$work/cert.pem" -in "$f" >"$work/out" 2>&1 || no "${f#"$m"/} is not signed: $(tail -3 "$work/out")"
done < <(find "$m" -type f \( -iname '*.dll' -o -iname '*.exe' \) -print0)
echo "every one of $pe PE files carries a signature osslsigncode accepts"
"$tool" content "$m/lx220.cat" "$work/content" &&
  openssl smime -verify -inform DER -in "$m/lx220.cat" -content "$work/content" -binary \
    -CAfile "$work/cert.pem" -purpose any -out /dev/null 2>"$work/out" || no "openssl rejects the catalog's signature: $(cat "$work/out")"
echo "openssl accepts the catalog's signature"
if [ "$catalog_road" = osslsigncode ]; then
  n=0
  for f in "${package[@]}"; do
    [ "$(head -c 2 "$m/$f")" = MZ ] || continue
    osslsigncode verify -CAfile "$work/cert.pem" -catalog "$m/lx220.cat" -in "$m/$f" >"$work/out" 2>&1 ||
      no "osslsigncode does not find $f in the catalog: $(tail -3 "$work/out")"
    n=$((n + 1))
  done
  echo "osslsigncode finds each of the $n PE files of the package in the signed catalog"
else
  echo "NOT RUN: osslsigncode before 2.8 verifies no file against a catalog; openssl and the hash check stand in"
fi
out=$("$tool" verify "$m/lx220.cat" "$m" "${package[@]}") || no "the hash check fails the signed medium: $out"
echo "hash check: ${#package[@]} files: $out"

# One changed byte in each covered file, put back after.
flip() { python3 -c 'import sys
f = open(sys.argv[1], "r+b"); n = f.seek(0, 2); at = min(4096, n // 2)
f.seek(at); b = f.read(1); f.seek(at); f.write(bytes([b[0] ^ 0x20]))' "$1"; }
caught=0
for f in "${package[@]}"; do
  flip "$m/$f"
  out=$("$tool" verify "$m/lx220.cat" "$m" "${package[@]}")
  if [ $? -ne 1 ] || ! grep -qF "fault: $f: its " <<<"$out"; then no "a changed byte in $f went unnoticed: $out"; else caught=$((caught + 1)); fi
  if [ "$catalog_road" = osslsigncode ] && [ "$(head -c 2 "$m/$f")" = MZ ] &&
     osslsigncode verify -CAfile "$work/cert.pem" -catalog "$m/lx220.cat" -in "$m/$f" >/dev/null 2>&1; then
    no "osslsigncode finds $f in the catalog after a byte changed"
  fi
  flip "$m/$f"
done
echo "a changed byte is caught in each of $caught files"

# Files no catalog can take: an error naming the file, and no catalog.
mkdir -p "$work/odd"
printf 'x' >"$work/odd/one.gpd"
: >"$work/odd/empty.ini"
truncate -s 100M "$work/odd/big.dll"
printf 'one.gpd\nmissing.dll\n' >"$work/list"
for case in "missing.dll:no such file" "empty.ini:the file is empty" "big.dll:104857600 bytes, more than"; do
  name=${case%%:*} expect=${case#*:}
  out=$("$tool" make "$work/odd/odd.cat" "$work/odd" one.gpd "$name" 2>&1); rc=$?
  if [ $rc -ne 1 ] || ! grep -qF "error: $name: $expect" <<<"$out" || [ -e "$work/odd/odd.cat" ]; then
    no "$name: expected an error naming it and no catalog, got (rc $rc): $out"
  else
    echo "$name: $out"
  fi
done
out=$("$tool" make "$work/odd/odd.cat" "$work/odd" --list "$work/list" 2>&1)
grep -qF "error: missing.dll: no such file" <<<"$out" && [ ! -e "$work/odd/odd.cat" ] || no "a list naming a missing file: $out"
exit $fail
